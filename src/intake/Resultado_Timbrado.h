#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "intake/Solicitud_Timbrado.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// The folders a branch shares with the stamping program, from its issuing profile (empty for a
// branch without a profile): where results arrive, and the queue its files to stamp wait in.
struct Carpetas_Solicitud {
    Carpetas_Resultado Resultado;
    std::string Cola;
};
Carpetas_Solicitud Carpetas_de_Sucursal(int32_t id_sucursal);

// Takes in whatever result has arrived for the request, seen in `status` (2, or 4 for a rejected
// request). A request whose results cannot be looked for (Motivo_Rutas_Rechazadas) is listed as
// a result that does not match and logged once, and nothing of it is touched. With both the XML and
// the PDF there, see Tomar_Resultado_Timbrado: it is taken in whole or not at all, and a failure
// goes to the daily log and the next scan tries again. Without them, an error file rejects the
// request; with nothing, the request is left as it is, and one in status 2 is watched for a file to
// stamp that has gone (Vigilar_Sin_Resultado). A failure rejecting the request is passed to the
// caller. A conflict with another writer is no failure: logged as one, the request waits for the
// next scan. Finding this copy without the lease reaches the caller. `ahora` is the time of the
// scan.
void Procesar_Resultado_Timbrado(const Solicitud_Timbrado& solicitud,
                                 const Carpetas_Solicitud& carpetas, int32_t status,
                                 const Fecha_Hora& ahora);

// What the NOT-valid folder holds for a request.
enum class Error_Timbrado {
    Ausente,     // no error text
    Registrado,  // an error text: the request was rejected with its first line
    No_Regular,  // a link, a pipe or a folder under its name: not read
};

// Rejects the request with "Error: " and the first line of the error file, if that file is there
// as a regular file.
Error_Timbrado Registrar_Error_Timbrado(const std::string& ruta_error, int32_t id_solicitud);

// The first line of a text file, without its line end (a CR, LF or CR LF), read no further than a
// few kilobytes; the empty text for an empty file. UTF-8 when the bytes are valid UTF-8, otherwise
// read as Windows-1252. A path that holds no regular file fails with kError_No_Regular.
std::string Leer_Primera_Linea(const std::string& ruta);

// Why a request's results cannot be looked for: its Archivo would leave its folder (a separator,
// "..", a control character), or a result folder of its branch climbs out with "..". Nothing
// when they can.
std::optional<std::string> Motivo_Rutas_Rechazadas(const std::string& archivo,
                                                   const Carpetas_Resultado& carpetas);

}  // namespace facturador

#pragma once

#include <cstdint>
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
// request). With both the XML and the PDF there, see Tomar_Resultado_Timbrado: it is taken in whole
// or not at all, and a failure goes to the daily log and the next scan tries again. Without them,
// an error file rejects the request; with nothing, the request is left as it is, and one in status
// 2 is watched for a file to stamp that has gone (Vigilar_Sin_Resultado). A failure rejecting the
// request is passed to the caller. A conflict with another writer is no failure: logged as one,
// the request waits for the next scan. Finding this copy without the lease reaches the caller.
// `ahora` is the time of the scan.
void Procesar_Resultado_Timbrado(const Solicitud_Timbrado& solicitud,
                                 const Carpetas_Solicitud& carpetas, int32_t status,
                                 const Fecha_Hora& ahora);

// Rejects the request with "Error: " and the first line of the error file, if that file is there
// as a plain file (not a link); answers whether it was.
bool Registrar_Error_Timbrado(const std::string& ruta_error, int32_t id_solicitud);

// The first line of a text file, without its line end (a CR, LF or CR LF); the empty text for an
// empty file. UTF-8 when the bytes are valid UTF-8, otherwise read as Windows-1252.
std::string Leer_Primera_Linea(const std::string& ruta);

}  // namespace facturador

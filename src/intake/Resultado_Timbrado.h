#pragma once

#include <cstdint>
#include <string>

#include "intake/Solicitud_Timbrado.h"
#include "issuing_config/Intercambio_Timbrado.h"

namespace facturador {

// The folders where the stamping program leaves a branch's results, from its issuing profile
// (empty for a branch without a profile).
Carpetas_Resultado Carpetas_de_Resultado(int32_t id_sucursal);

// Takes in whatever result has arrived for the request. With both the XML and the PDF it is taken
// in whole or not at all: the invoice updates and the amount are queued, and the request is added
// to Solicitudes_Timbradas, only once the XML was read and both documents were stored; otherwise
// the failure goes to the daily log and the next scan tries again. Without them, an error file
// rejects the request; with nothing, the request is left as it is. A failure rejecting the request
// is passed to the caller.
void Procesar_Resultado_Timbrado(const Solicitud_Timbrado& solicitud,
                                 const Carpetas_Resultado& carpetas);

// Rejects the request with "Error: " and the first line of the error file, if that file is there.
void Registrar_Error_Timbrado(const std::string& ruta_error, int32_t id_solicitud);

// The first line of a text file, without its line end (a CR, LF or CR LF); the empty text for an
// empty file. UTF-8 when the bytes are valid UTF-8, otherwise read as Windows-1252.
std::string Leer_Primera_Linea(const std::string& ruta);

}  // namespace facturador

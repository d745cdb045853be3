#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/Historia_Solicitud.h"
#include "platform/Conexion.h"

namespace facturador {

// The stamped PDF and XML are stored in the central database (Comprobantes_Fiscales) when they are
// taken in. The story opens them from the valid folder while they are there, and from the
// database when they are not: moved away since, or in a folder the console cannot reach.

// The stored document of that kind ("PDF", "XML") that the story lists last, if any.
const Documento_de_Solicitud* Documento_Guardado(const Historia_Solicitud& h,
                                                 std::string_view tipo);
// Its bytes as stored, or nothing when its row is no longer there.
std::optional<std::string> Leer_Documento_Guardado(Conexion& conexion, int32_t id_documento);
// Writes the bytes into `carpeta`, a folder of the operator's own, under the document's file name
// (its last part only: a stored name never leads out of the folder); answers the file's path.
std::string Escribir_Copia_Documento(const std::string& carpeta,
                                     const Documento_de_Solicitud& documento,
                                     std::string_view bytes);

}  // namespace facturador

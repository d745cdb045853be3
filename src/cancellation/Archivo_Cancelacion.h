#pragma once

#include <string>

namespace facturador {

// The cancellation request the stamping program picks up from the branch's queue folder: one
// Windows-1252 line "rfc_emisor|UUID" ended by CR LF, in a file named after the series and the
// folio exactly as the operator typed them.

// "Cancelar_" + series + folio + ".xml".
std::string Nombre_Archivo_Cancelacion(const std::string& serie, const std::string& nro);
// False when the name would take the file out of the folder it is written into.
bool Queda_En_Su_Carpeta(const std::string& nombre_archivo);
// Makes an earlier file writable and deletes it, ignoring every failure.
void Borrar_Archivo_Cancelacion(const std::string& ruta) noexcept;
// Replaces whatever file is at `ruta` with the request line. A failure reaches the caller.
void Generar_Archivo_Cancelacion(const std::string& ruta, const std::string& rfc_emisor,
                                 const std::string& uuid);

}  // namespace facturador

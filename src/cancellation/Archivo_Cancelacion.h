#pragma once

#include <stdexcept>
#include <string>

namespace facturador {

// The cancellation request the stamping program picks up from the branch's queue folder: one
// Windows-1252 line "rfc_emisor|UUID" ended by CR LF, in a file named after the series and the
// folio exactly as the operator typed them.

// "Cancelar_" + series + folio + ".xml".
std::string Nombre_Archivo_Cancelacion(const std::string& serie, const std::string& nro);
// The file's one line. A control character in a value (a line end above all) becomes a blank, so
// the stamping program never reads a second line.
std::string Linea_Cancelacion(const std::string& rfc_emisor, const std::string& uuid);

// The request file is in the queue folder, where the stamping program may already have taken it,
// but the cancellation could not be recorded in the central database.
class Cancelacion_Sin_Registrar : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Puts the request line at `ruta`, replacing whatever file is there. The line is written whole
// under a hidden name of the same folder (never read by the stamping program) and on the disk
// before it is renamed into place, so the stamping program sees the earlier file or the whole new
// one, and a crash never leaves half a request under the real name. A failure before the rename
// leaves nothing of the new file and reaches the caller as an Error_Plataforma, as does a path
// that climbs out of its folder with ".."; once the file is in
// place, a failure to get the folder onto the disk is a Cancelacion_Sin_Registrar.
void Generar_Archivo_Cancelacion(const std::string& ruta, const std::string& rfc_emisor,
                                 const std::string& uuid);

}  // namespace facturador

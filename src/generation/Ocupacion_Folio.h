#pragma once

#include <map>
#include <optional>
#include <string>

#include "generation/Folios.h"
#include "issuing_config/Datos_Emision.h"

namespace facturador {

// Files to stamp waiting in a queue folder under their temporary names: published path -> the
// waiting file.
using Temporales_Cola = std::map<std::string, std::string>;

// The waiting files of one queue folder. A folder that cannot be read is an Error_Plataforma.
Temporales_Cola Temporales_en_Carpeta(const std::string& carpeta_cola);

// The first file of this series and folio found in the branch's folders: the file to stamp,
// published in the queue or waiting there (`temporales`), its stamped XML or PDF in the valid
// folder, or its error text in the NOT-valid folder. Nothing when there is none.
std::optional<std::string> Archivo_Existente(const Datos_Emision& perfil,
                                             const Serie_y_Folio& serie_folio,
                                             const Temporales_Cola& temporales);

}  // namespace facturador

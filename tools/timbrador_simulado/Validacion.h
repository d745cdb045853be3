#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Archivo_para_Timbrar.h"

namespace timbrador {

// The reason a provider would give for refusing to stamp the file, as "code - text", or nothing
// when the file can be stamped. The first fault found is the one reported.
std::optional<std::string> Motivo_Rechazo(const Archivo_para_Timbrar& archivo);

// A Mexican tax identifier (t_RFC of tdCFDI.xsd): 3 (legal entity) or 4 (individual) letters
// among A-Z, Ñ and &, six digits of the date, two letters or digits of the homoclave and a check
// character, a digit or "A".
bool Es_RFC(std::string_view utf8);

}  // namespace timbrador

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace facturador {

// The company type (régimen societario) that a receiver's name, trimmed and in upper case, ends
// in, in its usual written form ("S.A. DE C.V."), or nothing. Dots and blanks do not count, so
// "SA DE CV" and "S.A. de C.V." are found too, but the type must start a word: "ROSA" does not
// end in "S.A.".
std::optional<std::string> Regimen_Societario_Final(std::string_view nombre);

}  // namespace facturador

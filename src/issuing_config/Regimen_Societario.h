#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace facturador {

// The company type (régimen societario) that a company's name, as typed, ends in, in the written
// form of regimenes_societarios.txt that it matched ("S.A. DE C.V."), or nothing. Case, accents,
// dots, commas and blanks do not count, so "S.A. de C.V.", "SA DE CV" and "Sociedad Anónima de
// Capital Variable" are found, but the type must start a word: "ROSA" does not end in "S.A.".
std::optional<std::string> Regimen_Societario_Final(std::string_view nombre);

// The text of regimenes_societarios.txt as it was when the program was built.
std::string_view Texto_Regimenes_Societarios();

}  // namespace facturador

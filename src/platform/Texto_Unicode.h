#pragma once

#include <string>
#include <string_view>

namespace facturador {

// What a customer or an operator typed, in the one form the fiscal checks read and the files to
// stamp carry: Unicode's composed form (NFC), so that a letter and its accent typed apart are the
// accented letter; no blank of any kind at either end (space, tab, line break, no-break space,
// ideographic space, zero-width space, ...); every run of such blanks inside made one space. The
// letters stay as they were typed. Text that is not valid UTF-8 is only trimmed of spaces.
std::string Forma_Nombre(std::string_view utf8);

// The text as two spellings of the same words compare: its Forma_Nombre in upper case, without
// accents or any other mark on its letters ("Público" and "PUBLICO" compare equal; Ñ compares as
// N).
std::string Forma_Comparable(std::string_view utf8);

}  // namespace facturador

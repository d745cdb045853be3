#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace facturador {

// The program keeps its texts in UTF-8. The files it shares with the stamping program (the file
// to stamp, the cancellation request) are 8-bit Windows-1252; results may come in either, so
// what is read from them is taken as UTF-8 when it is valid UTF-8. The daily log is written in the
// platform's code page, which is UTF-8 here.

// UTF-8 to Windows-1252. A character the code page lacks, or a byte that is not valid UTF-8,
// becomes "?".
std::string A_Windows_1252(std::string_view utf8);
// True when the text is valid UTF-8 and Windows-1252 has every one of its characters, so that it
// reaches a file of the stamping program unchanged.
bool Cabe_en_Windows_1252(std::string_view utf8);
// Windows-1252 to UTF-8. The five bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) become the control characters of the same number, as Windows converts them.
std::string Desde_Windows_1252(std::string_view bytes);
// UTF-16 (without its byte order mark) to UTF-8; nothing when the bytes are not UTF-16: an odd
// count, or a surrogate out of its pair.
std::optional<std::string> Desde_UTF16(std::string_view bytes, bool big_endian);
// True for well-formed UTF-8: shortest forms only, no surrogates, nothing beyond U+10FFFF.
bool Es_UTF8_Valido(std::string_view bytes);
// How many characters a UTF-8 text holds (bytes that begin one).
size_t Contar_Caracteres(std::string_view utf8);
// Text read from a file of unknown encoding: kept as it is when it is valid UTF-8, otherwise read
// as Windows-1252.
std::string Texto_Leido(std::string_view bytes);
// The text with every control character (C0, DEL and C1, line ends included) replaced by one
// blank, so that a value written into a line-oriented file can never start a line of its own.
// Bytes that are not valid UTF-8 are left as they are.
std::string Sin_Controles(std::string_view texto);
// The text without the blanks at either end.
std::string Recortar(std::string_view texto);
// The text with its lower-case letters in upper case: a to z and the Latin-1 letters with an
// accent, tilde or diaeresis (á, ñ, ü become Á, Ñ, Ü); every other byte as it is.
std::string Mayusculas(std::string_view texto);
// A fiscal code (RFC, postal code, regime, use, payment form) as the tax authority's patterns ask
// it and a customer may not have typed it: in Forma_Nombre (Texto_Unicode.h), so with no blank of
// any kind at its ends, and in upper case.
std::string Forma_Fiscal(std::string_view texto);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace facturador {

// How the program reads numbers out of database fields that it receives as text.

// The number at the start of the text (after leading blanks), as far as it goes; 0 when the text
// does not start with one. "15" gives 15, "12abc" 12, "" and "abc" 0.
double Valor_Inicial(std::string_view texto);

// The value rounded to the nearest integer (halves to the even one, as the program has always
// rounded), or nothing when it does not fit in 32 bits.
std::optional<int32_t> Entero_Redondeado(double valor);

// The whole text read as a number and rounded to an integer; nothing when the text is empty, is
// not entirely a number, or does not fit in 32 bits.
std::optional<int32_t> Leer_Entero(std::string_view texto);
// The whole text read as a floating-point number; nothing when it is not entirely a number.
std::optional<double> Leer_Numero(std::string_view texto);
// The same, and nothing as well for a number no double holds ("1e400"), which Leer_Numero reads
// as 0.
std::optional<double> Leer_Numero_en_Rango(std::string_view texto);

// Folder paths travel through the central database with "*" in place of every separator.
std::string Ruta_Desde_BD(std::string_view guardada);
std::string Ruta_Para_BD(std::string_view ruta);

}  // namespace facturador

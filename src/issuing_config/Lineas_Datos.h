#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace facturador {

// The data files compiled into the program are lines of fields separated by "|"; blank lines and
// lines starting with "#" say nothing. Calls `leer` with each line that says something, trimmed
// of blanks (and of the CR of a CR LF line end), and its number counted from 1.
void Leer_Lineas_de_Datos(std::string_view texto,
                          const std::function<void(std::string_view linea, size_t numero)>& leer);

// The fields of a line, each trimmed of blanks.
std::vector<std::string> Campos_de_Linea(std::string_view linea);

}  // namespace facturador

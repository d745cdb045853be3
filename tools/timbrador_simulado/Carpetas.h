#pragma once

#include <string>
#include <vector>

namespace timbrador {

// The three folders through which one branch talks to the stamping program.
struct Carpetas_Sucursal {
    std::string nombre;  // for the log: "sucursal 3" or the base subfolder's name
    std::string cola;
    std::string validas;
    std::string no_validas;

    bool operator==(const Carpetas_Sucursal&) const = default;
};

// The folders of every branch profile with a queue folder, read from the central database through
// the given connection string, "*" turned back into path separators. A database failure is an
// Error_Plataforma.
std::vector<Carpetas_Sucursal> Carpetas_Desde_BD(const std::string& cadena_conexion);

// The folders under a base folder: the base itself when it holds "cola", and each of its
// subfolders that holds one (by name), each with its "validas" and "no_validas" beside "cola",
// which are created when missing. No queue at all is an Error_Plataforma.
std::vector<Carpetas_Sucursal> Carpetas_Desde_Base(const std::string& base);

}  // namespace timbrador

#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Comportamiento.h"

namespace timbrador {

struct Opciones {
    bool una_vez = false;
    bool ayuda = false;
    Comportamiento comportamiento;
    // Folder holding cola/, validas/ and no_validas/ (directly or per branch subfolder) to serve
    // instead of the folders of the branch profiles in the central database.
    std::optional<std::string> carpeta_base;
    // File to which one line per file taken is appended (see Atender_Cola).
    std::optional<std::string> registro;
    // The installation's central account, read as the facturador reads it (usuario=,
    // contrasena=, socket=); a file that does not exist leaves the built-in account.
    std::string credenciales = "/etc/facturador/central.conf";
};

class Error_Opciones : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The command-line arguments after the program name. A wrong argument is an Error_Opciones.
Opciones Leer_Opciones(const std::vector<std::string>& argumentos);
std::string Texto_Uso();

}  // namespace timbrador

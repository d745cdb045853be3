#pragma once

#include <stdexcept>
#include <string>

namespace facturador {

// A failure of the outside world (database driver, file system), carried with its number and the
// driver's own description, as the operator and the daily log get to see them.
class Error_Plataforma : public std::runtime_error {
  public:
    Error_Plataforma(long numero, std::string descripcion)
        : std::runtime_error(descripcion), Numero(numero), Descripcion(std::move(descripcion)) {}

    long Numero;
    std::string Descripcion;
};

}  // namespace facturador

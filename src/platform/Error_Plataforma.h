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

// The connection to the server broke with a statement on its way (the client library's "server
// has gone away" and "lost connection during query"): the server may have carried it out. A single
// statement outside a transaction is then neither known done nor known undone.
inline bool Respuesta_Perdida(const std::exception& e) {
    const auto* falla = dynamic_cast<const Error_Plataforma*>(&e);
    return falla && (falla->Numero == 2006 || falla->Numero == 2013);
}

}  // namespace facturador

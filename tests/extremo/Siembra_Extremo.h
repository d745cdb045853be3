#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <string>

namespace facturador::pruebas {

// The folders one branch shares with the stamping program.
struct Carpetas_Sucursal {
    std::string cola;
    std::string validas;
    std::string no_validas;
};

// A branch and its issuing profile, with its three folders created under `base` and stored in
// the profile with "*" for "/".
Carpetas_Sucursal Sembrar_Sucursal(const std::string& base, int id, const std::string& nombre,
                                   const std::string& serie, int folio);
void Sembrar_Ticket(int numero, int sucursal, const std::string& total);
// A pending request with every customer datum the stamping program checks; `cambios` replaces
// columns by SQL literal.
void Sembrar_Solicitud(int id, int sucursal, int ticket, const std::string& total,
                       const std::map<std::string, std::string>& cambios = {});

// Polls `cumplido` until it holds or the deadline passes.
bool Esperar(const std::function<bool()>& cumplido, std::chrono::seconds plazo);
// Polls until the request reaches the status, for as long as a few dozen cycles take.
bool Esperar_Status(int id, const std::string& status);

}  // namespace facturador::pruebas

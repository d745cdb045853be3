#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <string>

#include "apoyo/Siembra.h"

namespace facturador::pruebas {

// A pending request with every customer datum the stamping program checks; `cambios` replaces
// columns by SQL literal.
void Sembrar_Solicitud(int id, int sucursal, int ticket, const std::string& total,
                       const std::map<std::string, std::string>& cambios = {});

// Polls `cumplido` until it holds or the deadline passes.
bool Esperar(const std::function<bool()>& cumplido, std::chrono::seconds plazo);
// Polls until the request reaches the status, for as long as a few dozen cycles take.
bool Esperar_Status(int id, const std::string& status);

}  // namespace facturador::pruebas

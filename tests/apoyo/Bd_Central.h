#pragma once

#include <string>

#include "platform/Recordset.h"

namespace facturador::pruebas {

// The per-operation central connection string the program builds.
std::string Cadena_Central_Pruebas();
// Empties every central table, so each test starts from a known database.
void Vaciar_Base_Central();
void Ejecutar_Central(const std::string& sql);
Recordset Consultar_Central(const std::string& sql);
// The first field of the first row as text ("" for Null or no row).
std::string Valor_Central(const std::string& sql);
// Stops and starts the private test server, keeping its data (connections die).
void Reiniciar_Servidor_Central();

}  // namespace facturador::pruebas

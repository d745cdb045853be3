#pragma once

#include <string>
#include <vector>

namespace facturador {

// The SQL statements a cycle collects for the central database and executes at its end, in the
// order they were added, in one transaction.
void Reiniciar_Sentencias_Pendientes();
void Agregar_Sentencia_Pendiente(const std::string& sentencia);
const std::vector<std::string>& Sentencias_Pendientes();
// Runs the queue in one transaction; on a failure writes "Error:  <description>  -  <statement>"
// to the daily log and rolls the whole batch back. The queue itself is left as it is.
void Ejecutar_Sentencias_Pendientes();

}  // namespace facturador

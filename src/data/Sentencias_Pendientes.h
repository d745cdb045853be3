#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace facturador {

// The SQL statements a cycle collects for the central database and executes at its end, in the
// order they were added, in one unit of work fenced by the lease.
void Reiniciar_Sentencias_Pendientes();
void Agregar_Sentencia_Pendiente(const std::string& sentencia);
// A statement that belongs to one request. `linea_log`, unless empty, goes to the daily log once
// the statement is committed, never before: the log must not tell of work rolled back.
void Agregar_Sentencia_de_Solicitud(int32_t id_solicitud, const std::string& sentencia,
                                    const std::string& linea_log = "");
// Called, after the batch has ended and its connection is closed, with the failure's description
// and statement when the statements of this request fail on their own.
void Al_Fallar_Solicitud(int32_t id_solicitud,
                         std::function<void(const std::string& falla)> accion);
const std::vector<std::string>& Sentencias_Pendientes();

// Runs the queue in one transaction; on a failure writes "Error:  <description>  -  <statement>"
// to the daily log and rolls the whole batch back. One request's statements must not hold back
// every other request cycle after cycle, so when a statement fails (and not the connection or the
// server) the queue is run again request by request, each request's statements in a transaction
// of their own (the statements of no request together as one more); only the requests whose own
// statements fail stay undone, each failure logged and handed to its Al_Fallar_Solicitud.
// A conflict with another writer is run again the same way, and the requests that meet one wait
// for the next cycle; a copy that lost the lease commits nothing. The queue itself is left as it
// is; an empty one does nothing.
void Ejecutar_Sentencias_Pendientes();

}  // namespace facturador

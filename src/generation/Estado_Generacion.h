#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "generation/Solicitudes.h"
#include "platform/Repeticiones.h"

namespace facturador {

// What the generation subsystem keeps for the whole run.
struct Estado_Generacion {
    // The requests of the current pass; between passes, those still pending.
    std::vector<Solicitud_Factura> Solicitudes_Pendientes;
    // Pending rows already reported as unreadable, so the log tells each of them only once
    // while it stays so.
    std::set<std::string> Solicitudes_Invalidas_Avisadas;
    // Shows the name of the file to stamp being written (the main window's file label).
    std::function<void(const std::string&)> Mostrar_Archivo;
    // Files to stamp of committed requests that the last recovery of the queue folders could not
    // put in place: published path -> the temporary file that waits for the next try.
    std::map<std::string, std::string> Temporales_en_Cola;
    // Situations already told in the daily log, by key, so that a repeating one is told once.
    std::set<std::string> Avisos_Dados;
    // Failures of the pass that come back every cycle for the same request or branch.
    Repeticiones Fallas_Repetidas;
};

Estado_Generacion& Estado_Generacion_Actual();
const std::vector<Solicitud_Factura>& Solicitudes_Pendientes();
void Reiniciar_Estado_Generacion();

// True the first time the situation `clave` comes up, until it is forgotten.
bool Primer_Aviso(const std::string& clave);
// The situation is over: if it comes back, it is told again.
void Olvidar_Aviso(const std::string& clave);

// A failure of the pass about one request ("solicitud 7") or branch ("sucursal 3") of one kind,
// written to the daily log as Repeticiones allows: once, then once an hour with its count.
void Avisar_Falla_Repetida(const std::string& sujeto, const std::string& tipo,
                           const std::string& linea);
// The end of a pass that went through every pending request: each failure it did not meet again
// is over, and a line says so.
void Cerrar_Ronda_de_Fallas();

}  // namespace facturador

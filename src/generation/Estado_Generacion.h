#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "generation/Solicitudes.h"

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
};

Estado_Generacion& Estado_Generacion_Actual();
const std::vector<Solicitud_Factura>& Solicitudes_Pendientes();
void Reiniciar_Estado_Generacion();

}  // namespace facturador

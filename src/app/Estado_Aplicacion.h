#pragma once

#include <memory>
#include <optional>

#include "app/Estado_Publicado.h"
#include "data/Registro_Fallas.h"

namespace facturador {

// What the application shell keeps for the whole run, outside the main window.
struct Estado_Aplicacion {
    // Start-up data that could not be loaded yet; the first cycle that reaches the central
    // database loads it.
    bool sucursales_por_cargar = false;
    bool datos_emision_por_cargar = false;
    // The daily log already says that another copy holds the lease.
    bool otra_copia_avisada = false;
    // The daily log and the operator were told that this copy's account may not take the lease.
    bool turno_sin_permiso_avisado = false;
    // How long the requests have waited, and the last successful cycle, for the health report.
    Seguimiento_Solicitudes seguimiento;
    // The date on which the old daily logs were last pruned.
    std::optional<Fecha_Hora> poda_logs;
};

Estado_Aplicacion& Estado_App();
// Back to the state of a program just started (tests): this state, the statement queue and the
// failure registry.
void Reiniciar_Estado_Aplicacion();

}  // namespace facturador

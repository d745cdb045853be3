#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Estado_Publicado.h"
#include "app/Registro_Fallas.h"
#include "platform/Candado_Central.h"

namespace facturador {

// The database-wide worker lock and whether the log already says another copy holds it.
struct Turno_Trabajo {
    std::unique_ptr<Candado_Central> candado =
        std::make_unique<Candado_Central>("facturador:Morvane_Central");
    bool otra_copia_avisada = false;
};

// What the application shell keeps for the whole run, outside the main window.
struct Estado_Aplicacion {
    // The statement queue of the running cycle, in the order the statements were added.
    std::vector<std::string> sentencias_pendientes;
    // For each statement of the queue, at the same index: the request it belongs to (0 for none)
    // and the daily-log line that tells it was done, written once it is committed.
    struct Origen_Sentencia {
        int32_t solicitud = 0;
        std::string linea_log;
    };
    std::vector<Origen_Sentencia> origenes_sentencias;
    // What to do, by request, when the statements of the request fail on their own.
    std::map<int32_t, std::function<void(const std::string& falla)>> al_fallar_solicitud;
    // Start-up data that could not be loaded yet; the first cycle that reaches the central
    // database loads it.
    bool sucursales_por_cargar = false;
    bool datos_emision_por_cargar = false;
    // Failures of the cycle, of start-up and of the statement batch, on their way to the log.
    Registro_Fallas fallas;
    Turno_Trabajo turno;
    // How long the requests have waited, and the last successful cycle, for the health report.
    Seguimiento_Solicitudes seguimiento;
};

Estado_Aplicacion& Estado_App();
// Back to the state of a program just started (tests).
void Reiniciar_Estado_Aplicacion();

// Runs one step of start-up or of a cycle. A failure is written to the daily log (see
// Registro_Fallas) together with the step's name, and the caller goes on; answers whether the
// step completed.
bool Ejecutar_Registrando_Falla(const std::string& paso, const std::function<void()>& accion);

}  // namespace facturador

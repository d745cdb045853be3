#pragma once

namespace facturador {

enum class Resultado_Arranque { Continuar, Terminar_Programa };

// Start-up up to the window: configuration, branch list, issuing profiles, and, in the copy that
// takes the lease, the files to stamp that an earlier run left waiting in the queue folders,
// settled before the first cycle. An
// unreachable central database does not stop it: the failure is logged and the first cycle that
// reaches the database loads what could not be loaded here.
Resultado_Arranque Cargar_Datos_Iniciales();
// The first scan of the look at rejected requests that taking the lease at start-up began, with
// its statements executed; nothing in a copy without the lease.
void Revisar_Rechazadas_Al_Arrancar();
// Loads the branch list or the profiles if start-up could not; called by each cycle once the
// central database is reached. True when nothing is left to load.
bool Completar_Datos_Pendientes();

}  // namespace facturador

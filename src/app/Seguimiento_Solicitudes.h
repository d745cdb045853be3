#pragma once

namespace facturador {

// Looks at every request in status 1 and 2, on a central connection of its own: notes when each
// was first seen in its status and forgets those that left it. A request in status 1 that the
// generation pass never takes, for want of an RFC, is written to the daily log once. A failure
// reaches the caller and leaves what was noted as it was.
void Revisar_Solicitudes_En_Espera();

// The end of a cycle: records it as the last one, and as the last successful one if it was, and
// publishes the state file of the program folder (Estado_Publicado.h). Also at start-up, so that
// the health report counts a program's time without cycles from its start. A failure to write it
// reaches the caller.
void Publicar_Estado(bool ciclo_exitoso);

// Start-up: takes back what the last run published, so that a restart does not make the
// requests' waiting start again.
void Recuperar_Seguimiento();

}  // namespace facturador

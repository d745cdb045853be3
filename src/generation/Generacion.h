#pragma once

#include "platform/Conexion.h"

namespace facturador {

// The generation pass of one cycle, on the cycle's open central connection (left open): the files
// left waiting in the queue folders are settled first, then every pending request is checked
// against its ticket and either rejected with the reason or sent to stamping; the requests of a
// branch whose issuing profile is at fault wait (Revision_Perfiles.h). A failure ends the
// pass; it is written to the daily log and shown to the operator, and the requests not yet reached
// wait for the next cycle. Each request settled tells the service manager that the program is
// alive. Answers false when a failure ended it. Two kinds of failure are no failure of the pass: a
// conflict with another writer leaves its request for the next cycle and the pass goes on; a unit
// that found this copy without the lease ends the pass quietly (false).
bool Generar_Archivos_para_Timbrar(Conexion& conexion_ciclo);

}  // namespace facturador

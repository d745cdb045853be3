#pragma once

#include <cstdint>
#include <string>

#include "generation/Solicitudes.h"
#include "platform/Conexion.h"

namespace facturador {

// Where the pass stands, for the operator's message when it fails: the step set last and the
// request it belongs to.
struct Progreso_Pase {
    std::string Paso = "iniciando";
    int32_t ID = 0;
    std::string Ticket;
};

// Sends a request that passed the amount check to stamping, as one unit of work on the cycle's
// connection: series and folio (the branch's counter row locked for a new request, taken folios
// skipped), the file to stamp written under its temporary name in the queue folder, the invoice
// row, status 2 and the advanced counter, COMMIT, and only then the file published under its name.
// A branch without series is logged and the request stays pending; a file that cannot be written
// is reported and the request stays pending with nothing spent. Database failures roll the unit
// back and reach the caller. The unit's log lines are written once it has ended.
void Emitir_Solicitud(Conexion& conexion, const Solicitud_Factura& solicitud,
                      Progreso_Pase& progreso);

}  // namespace facturador

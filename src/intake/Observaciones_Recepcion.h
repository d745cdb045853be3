#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/Fecha_Hora.h"

namespace facturador {

// A request in status 2 that the intake keeps an eye on, for the daily log (once) and the health
// report.
struct Observacion_Solicitud {
    int32_t ID = 0;
    int32_t ID_Sucursal = 0;
    int32_t Nro_Ticket = 0;
    std::string Serie;
    int32_t Folio = 0;
    std::string Detalle;  // what is wrong, in one line (both values of a mismatch)
    Fecha_Hora Desde;     // first seen so
};

// What the result intake has observed while the program runs, by request ID. Entries leave when
// the request leaves status 2 or the condition clears.
struct Observaciones_Recepcion {
    // No file to stamp (published or waiting) and no result anywhere, for 15 minutes or more.
    std::map<int32_t, Observacion_Solicitud> Atascadas;
    // A result that is not a stamped invoice of its request (left where it is).
    std::map<int32_t, Observacion_Solicitud> Discrepancias;
    // A stamped result whose values the central database cannot hold (too long, too large).
    std::map<int32_t, Observacion_Solicitud> No_Almacenables;
};

Observaciones_Recepcion& Observaciones_Recepcion_Actuales();
void Reiniciar_Observaciones_Recepcion();

}  // namespace facturador

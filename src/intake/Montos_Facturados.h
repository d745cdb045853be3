#pragma once

#include <string>

#include "intake/Solicitud_Timbrado.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// The row of Montos_Facturados, in force, that records what the request's invoice took from its
// ticket, dated `ahora`.
std::string Sentencia_Monto_Facturado(const Solicitud_Timbrado& solicitud, const Fecha_Hora& ahora);

// Queues the amount row of a request taken in, with the daily-log line that tells of it: the line
// is written once the row is committed, so the log never shows an amount that was rolled back.
void Asentar_Monto_Facturado(const Solicitud_Timbrado& solicitud);

}  // namespace facturador

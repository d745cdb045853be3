#pragma once

#include <string>

#include "intake/Solicitud_Timbrado.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// The row of Montos_Facturados, in force, that records what the request's invoice took from its
// ticket, dated `ahora`.
std::string Sentencia_Monto_Facturado(const Solicitud_Timbrado& solicitud, const Fecha_Hora& ahora);

// Queues the amount row of a request taken in and writes it to the daily log. The log line is
// written when the row is queued, before the queue runs.
void Asentar_Monto_Facturado(const Solicitud_Timbrado& solicitud);

}  // namespace facturador

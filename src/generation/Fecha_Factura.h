#pragma once

#include <string>

#include "platform/Fecha_Hora.h"

namespace facturador {

// The "Fecha=" of the file to stamp, "yyyy-mm-ddTHH:MM:SS". The authority accepts an invoice
// dated at most 72 hours back, so a request three days old keeps its own date at 23:59:50, an
// older one is dated three days back at 23:59:50, and a newer one (or one dated in the future) is
// dated now.
std::string Fecha_para_Timbrar(const Fecha_Hora& fecha_solicitud, const Fecha_Hora& ahora);

}  // namespace facturador

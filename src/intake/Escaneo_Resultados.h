#pragma once

#include <cstdint>
#include <string>

#include "intake/Solicitud_Timbrado.h"
#include "platform/Recordset.h"

namespace facturador {

// The query of a result scan: the requests that meet the condition, in the order of their keys.
std::string Consulta_Resultados(const std::string& condicion);

// The request of the current row of a Consulta_Resultados. Every column but Total is read as text
// (Null as empty) and numbers by their leading number; Total is 0 when Null.
Solicitud_Timbrado Leer_Solicitud_Timbrado(const Recordset& rs);

// Looks for the result of the requests that meet the condition (all of them in `status`), in the
// order of their keys from after the one where the last scan of that status stopped, until it has
// taken in Maximo_Por_Escaneo results or reached the last request (answering true then); at the
// end it queues status 3 for those taken in. What was observed of requests no longer in that
// status is forgotten. A failure ends the scan and is passed to the caller, but the requests taken
// in before it still get their status 3 queued, so the queue never holds the invoice updates and
// amount of a request without its status.
bool Escanear_Resultados(const std::string& condicion, int32_t status);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <string>

#include "intake/Solicitud_Timbrado.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// A request in status 2 waits for the stamping program. If its file to stamp is in none of its
// branch's folders (not in the queue, published or still under its hidden name, and no part of a
// result), nothing will ever come: after 15 minutes of observation it is written to the daily log
// once as stuck and listed in Atascadas. Nothing queues it again by itself: that could stamp a
// folio twice.

// For a request of the status-2 scan with no result: no whole result, no error file, no XML.
// The folders are looked at again about once a minute, which keeps the scan of thousands of
// waiting requests cheap, and always before the request is called stuck.
// `ahora` is the time of the scan.
void Vigilar_Sin_Resultado(const Solicitud_Timbrado& solicitud, const std::string& cola,
                           const Rutas_Resultado& rutas, const Fecha_Hora& ahora);
// Something of the request's result is there: whatever was observed of it ends.
void Terminar_Vigilancia(int32_t id_solicitud);

}  // namespace facturador

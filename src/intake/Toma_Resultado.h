#pragma once

#include <cstdint>

#include "intake/Solicitud_Timbrado.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Archivos.h"

namespace facturador {

// Takes in the stamped result found for a request (its XML and its PDF are there), seen in
// `status` (2, or 4 for a rejected request), whole or not at all.
//
// First it must be the stamped invoice of its request and the central database must be able to
// hold it; otherwise it is refused: nothing of it is stored or queued, its files stay where they
// are, the request keeps its status, one line goes to the daily log and the request is listed in
// Discrepancias or No_Almacenables. A refused result is looked at again when its files or its
// request change, or after 15 minutes, never every second in vain.
//
// Then both documents are stored at once and the invoice updates and the amount are queued for
// the request, with its status 3 to come; if those statements fail on their own in the batch, the
// request is refused as not storable. A number of the XML that its invoice column cannot hold is
// stored as that column's empty value and told once in the daily log.
//
// A failure of the database or of a file reaches the caller with nothing of the request queued.
void Tomar_Resultado_Timbrado(const Solicitud_Timbrado& solicitud, const Rutas_Resultado& rutas,
                              const Entrada_Archivo& xml, const Entrada_Archivo& pdf,
                              int32_t status);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "intake/Observaciones_Recepcion.h"
#include "intake/Solicitud_Timbrado.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Archivos.h"

namespace facturador {

// What a stamped result taken in leaves for the statement queue: the invoice updates, in order.
struct Resultado_Tomado {
    std::vector<std::string> Sentencias;
    Huella_Resultado Huella;  // to set the result aside if the statements fail
};

// Checks and takes in the stamped result found for a request (its XML and its PDF are there), seen
// in `status` (2, or 4 for a rejected request), whole or not at all.
//
// First it must be the stamped invoice of its request and the central database must be able to
// hold it; otherwise it is refused and nothing comes back: nothing of it is stored, its files stay
// where they are, the request keeps its status, one line goes to the daily log and the request is
// listed in Discrepancias or No_Almacenables. A refused result is looked at again when its files or
// its request change, or after 15 minutes, never every second in vain.
//
// Then both documents are stored at once and the invoice updates come back for the caller to
// queue with the amount and the status 3 to come. A number of the XML that its invoice column
// cannot hold becomes that column's empty value and is told once in the daily log.
//
// A failure of the database or of a file reaches the caller with nothing to queue.
std::optional<Resultado_Tomado> Tomar_Resultado_Timbrado(const Solicitud_Timbrado& solicitud,
                                                         const Rutas_Resultado& rutas,
                                                         const Entrada_Archivo& xml,
                                                         const Entrada_Archivo& pdf,
                                                         int32_t status);

// The statements of a request taken in failed on their own in the batch: its result is refused as
// not storable, as above.
void Apartar_No_Almacenable(const Solicitud_Timbrado& solicitud, int32_t status,
                            const std::string& detalle, const Huella_Resultado& huella);

// Something the stamping program should have left for the request is not what it should be (a
// link or a pipe where its error text goes, a name that would leave its folder): the request is
// listed in Discrepancias and one line goes to the daily log, the first time only.
void Anotar_Discrepancia(const Solicitud_Timbrado& solicitud, int32_t status,
                         const std::string& detalle);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Conexion.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// What the operator does to requests from the console's windows. Plain functions over the
// window's own connection; they write only requests (reactivation) and re-queue asks, never
// invoices, amounts, files or the lease.

// A rejected request sent back to pending, with the reason it had.
struct Reactivada {
    int32_t ID = 0;
    std::string Motivo;

    bool operator==(const Reactivada&) const = default;
};

// What a reactivation changed. `Sin_Confirmar`: the connection broke with the COMMIT on its way,
// so the server may or may not have kept it; `Solicitudes` are then those it would have changed,
// and the connection is closed (the next use opens it again).
struct Reactivacion {
    std::vector<Reactivada> Solicitudes;
    bool Sin_Confirmar = false;
};

// Rejected requests (status 4) back to pending (status 1) with an empty Resultado, in one
// transaction that locks them first, so that the answer is exactly what was changed: a request
// that is no longer rejected is left alone and is not in the answer.
Reactivacion Reactivar_Solicitudes(Conexion& conexion, const std::vector<int32_t>& ids);
// The same for every rejected request of this reason counted up to `hasta_id` (the grouping the
// operator saw: one rejected later with the same reason waits for the next look).
Reactivacion Reactivar_Motivo(Conexion& conexion, const std::string& motivo, int32_t hasta_id);
// One line per request in the daily log, with the operator's account; an unconfirmed one says so.
void Anotar_Reactivadas(const Reactivacion& reactivacion, const std::string& cuenta);

// Asks the worker to write the request's file to stamp again (Pedidos_Reencolado), when
// --reencolar's conditions hold and no ask of it is still open. Answers why not, or nothing when
// asked.
std::optional<std::string> Pedir_Reencolado(Conexion& conexion, int32_t id,
                                            const std::string& cuenta, const Fecha_Hora& ahora);
// The console's daily-log line of an ask made.
void Anotar_Pedido_Reencolado(int32_t id, const std::string& cuenta);

}  // namespace facturador

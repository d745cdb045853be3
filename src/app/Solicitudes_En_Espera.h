#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Conexion.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// A request in status 1 or 2, as the follow-up of the running program and the health report see
// it.
struct Solicitud_En_Espera {
    int32_t ID = 0;
    int Status = 0;
    int32_t ID_Sucursal = 0;  // 0 for a Null branch, as the generation pass reads it
    // In status 1, never taken by the generation pass: its RFC is Null or blank.
    bool Sin_RFC = false;
    std::optional<Fecha_Hora> Fecha;  // the request's date, when it has one
};

// Every request in status 1 or 2, by ascending ID. A failure reaches the caller.
std::vector<Solicitud_En_Espera> Leer_Solicitudes_En_Espera(Conexion& conexion);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <vector>

namespace facturador {

// The requests that one result scan took in completely (XML read, both documents stored, amount
// queued), in the order they were taken in. Both scans share this one list; they never overlap.
void Reiniciar_Solicitudes_Timbradas();
void Agregar_Solicitud_Timbrada(int32_t id_solicitud);
const std::vector<int32_t>& Solicitudes_Timbradas();
// Queues status 3 for every request of the list, in its order.
void Marcar_Solicitudes_Timbradas();

}  // namespace facturador

#pragma once

#include <cstdint>

#include "platform/Conexion.h"

namespace facturador {

// The operator's console never writes into the queue folders: it asks for a re-queue with a row
// of Pedidos_Reencolado, and the copy that holds the lease carries it out with the logic of
// --reencolar (Reencolado.h), whose waiting file the recovery of the queue then publishes.
enum class Status_Pedido { Pedido = 0, En_Curso = 1, Hecho = 2, No_Hecho = 3 };

// Attends the open asks, oldest first, on the worker's connection. Each ask is claimed in a unit
// fenced by the lease (0 → 1) before its file is written, and closed in another (→ 2 or 3, with
// the outcome and the time): a copy that lost the lease claims nothing, and two copies never claim
// the same ask. An ask left claimed by a copy that stopped between the two units is attended
// again: Reencolar_Solicitud writes the file only when no file or result of the request exists,
// and a file found then was written by that earlier attempt, so the ask is done. A conflict leaves
// the ask for the next cycle; a copy without the lease stops (Error_Plataforma kError_Sin_Turno).
// A database without the table has nothing to attend.
void Atender_Pedidos_Reencolado(Conexion& conexion);

// The text an ask's status is shown with: "pedido", "en curso", "hecho", "no se hizo".
const char* Texto_Status_Pedido(int status);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Conexion.h"

namespace facturador {

// The key for a new row that this system creates in a shared table: keys of its own are negative
// and count down from the lowest key of the table, so they never meet the positive keys of the
// other systems that write there. An empty table, or one with positive keys only, gives -1.
// Takes no lock; failures go to the caller. Two writers that take a key at the same moment (a
// copy that lost the lease and the one that took it, on two nodes of a cluster) take the same one;
// the primary key refuses the second row, never holds two.
int32_t Nuevo_ID(Conexion& conexion, const std::string& tabla, const std::string& columna);

// Runs the insert of a row keyed by Nuevo_ID. The primary key's refusal (1062) means that another
// writer took the key meanwhile: it reaches the caller as the conflict it is (kError_Clave_Tomada),
// and the unit is tried again next cycle with a key taken anew.
void Insertar_con_Clave_Nueva(const std::function<void()>& insertar);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <string>

#include "platform/Conexion.h"

namespace facturador {

// The key for a new row that this system creates in a shared table: keys of its own are negative
// and count down from the lowest key of the table, so they never meet the positive keys of the
// other systems that write there. An empty table, or one with positive keys only, gives -1.
// Takes no lock; failures go to the caller.
int32_t Nuevo_ID(Conexion& conexion, const std::string& tabla, const std::string& columna);

}  // namespace facturador

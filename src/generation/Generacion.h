#pragma once

#include "platform/Conexion.h"

namespace facturador {

// The generation pass of one cycle, on the cycle's open central connection (left open).
void Generar_Archivos_para_Timbrar(Conexion& conexion_ciclo);

}  // namespace facturador

#include "generation/Generacion.h"

namespace facturador {

void Generar_Archivos_para_Timbrar(Conexion&) {}

}  // namespace facturador

#include "issuing_config/Datos_Emision.h"

namespace facturador {

void Cargar_Datos_de_Emision() {}

}  // namespace facturador

#include "intake/Recepcion.h"

namespace facturador {

void Almacenar_Comprobantes_Pendientes() {}

void Almacenar_Comprobantes_con_Errores_de_Timbrados() {}

}  // namespace facturador

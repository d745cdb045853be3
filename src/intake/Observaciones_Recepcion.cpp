#include "intake/Observaciones_Recepcion.h"

namespace facturador {

Observaciones_Recepcion& Observaciones_Recepcion_Actuales() {
    static Observaciones_Recepcion observaciones;
    return observaciones;
}

void Reiniciar_Observaciones_Recepcion() {
    Observaciones_Recepcion_Actuales() = Observaciones_Recepcion{};
}

}  // namespace facturador

#include "generation/Estado_Generacion.h"

namespace facturador {

Estado_Generacion& Estado_Generacion_Actual() {
    static Estado_Generacion estado;
    return estado;
}

const std::vector<Solicitud_Factura>& Solicitudes_Pendientes() {
    return Estado_Generacion_Actual().Solicitudes_Pendientes;
}

void Reiniciar_Estado_Generacion() {
    Estado_Generacion_Actual() = Estado_Generacion{};
}

}  // namespace facturador

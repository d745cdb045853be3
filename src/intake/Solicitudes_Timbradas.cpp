#include "intake/Solicitudes_Timbradas.h"

#include <string>

#include "data/Sentencias_Pendientes.h"

namespace facturador {

namespace {

std::vector<int32_t>& Lista() {
    static std::vector<int32_t> lista;
    return lista;
}

}  // namespace

void Reiniciar_Solicitudes_Timbradas() {
    Lista().clear();
}

void Agregar_Solicitud_Timbrada(int32_t id_solicitud) {
    Lista().push_back(id_solicitud);
}

const std::vector<int32_t>& Solicitudes_Timbradas() {
    return Lista();
}

void Marcar_Solicitudes_Timbradas() {
    for (const int32_t id : Lista())
        Agregar_Sentencia_de_Solicitud(
            id,
            "UPDATE Solicitudes_de_Facturas_OL SET Status = 3 WHERE ID = " + std::to_string(id));
}

}  // namespace facturador

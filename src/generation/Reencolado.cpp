#include "generation/Reencolado.h"

namespace facturador {

Resultado_Reencolado Reencolar_Solicitud(int32_t id_solicitud) {
    return {false, "Solicitud ID: " + std::to_string(id_solicitud) +
                       " - reencolar aún no está disponible."};
}

}  // namespace facturador

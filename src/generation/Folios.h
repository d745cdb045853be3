#pragma once

#include <cstdint>
#include <string>

#include "generation/Solicitudes.h"
#include "platform/Conexion.h"

namespace facturador {

struct Serie_y_Folio {
    std::string Serie;
    int32_t Folio = 0;
};

// A request that has been through status 2 before (and was put back to pending) carries both its
// series and its folio; it keeps them when its invoice row confirms them (Elegir_Serie_y_Folio).
bool Tiene_Serie_y_Folio_Propios(const Solicitud_Factura& solicitud);
Serie_y_Folio Serie_y_Folio_Propios(const Solicitud_Factura& solicitud);

// The branch's series and next folio (empty series and 0 when it has no profile row). The row
// stays locked until the caller's transaction ends, so that no other writer hands out the same
// folio before Actualizar_Proximo_Folio has advanced it.
Serie_y_Folio Obtener_Serie_y_Folio(Conexion& conexion, int32_t sucursal);
// Advances the branch's counter by one, in the database.
void Actualizar_Proximo_Folio(Conexion& conexion, int32_t sucursal);

}  // namespace facturador

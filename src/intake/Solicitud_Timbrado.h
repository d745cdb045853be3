#pragma once

#include <cstdint>
#include <string>

namespace facturador {

// A request sent to stamping, as the result scan reads it from Solicitudes_de_Facturas_OL.
struct Solicitud_Timbrado {
    int32_t ID_Factura = 0;
    std::string Archivo;  // base name of the result files
    int32_t ID = 0;
    std::string Serie;
    int32_t Folio = 0;
    int32_t ID_Sucursal = 0;
    int32_t Nro_Ticket = 0;
    double Total = 0;  // 0 when the column is Null
};

}  // namespace facturador

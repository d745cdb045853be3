#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "generation/Cola_Timbrado.h"
#include "generation/Folios.h"
#include "generation/Solicitudes.h"
#include "platform/Conexion.h"

namespace facturador {

// Registers the invoice row of a request sent to stamping (Status 1, placeholders where the
// stamped XML will later fill in) under a new negative key, and answers that key.
int32_t Registrar_Factura(Conexion& conexion, int32_t ticket, const Serie_y_Folio& serie_folio,
                          double total, int32_t sucursal);

// The key of the invoice row already registered for this series, folio and branch, and for this
// ticket when one is given (the first one registered, if there are several), or nothing.
std::optional<int32_t> Buscar_Factura_Registrada(Conexion& conexion,
                                                 const Serie_y_Folio& serie_folio, int32_t sucursal,
                                                 std::optional<int32_t> ticket = std::nullopt);

// Locks the request's row until the unit ends and answers whether it is still pending (status 1).
// Only one copy of the program works with the central database at a time, but should a second
// one have taken the request between the load of the pending list and this unit, the request is
// not sent to stamping twice.
bool Bloquear_Solicitud_Pendiente(Conexion& conexion, int32_t id_solicitud);

// Status 2: the request waits for its stamped result, which the intake finds through the invoice
// key, the file's name and the valid folder recorded here.
void Actualizar_Status_Solicitud(Conexion& conexion, const Solicitud_Factura& solicitud,
                                 const Serie_y_Folio& serie_folio, int32_t id_factura,
                                 const Archivo_Preparado& archivo);

}  // namespace facturador

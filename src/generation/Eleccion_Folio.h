#pragma once

#include <cstdint>

#include "generation/Diario_Diferido.h"
#include "generation/Folios.h"
#include "generation/Solicitudes.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Conexion.h"

namespace facturador {

// How many taken folios one request skips in one pass at most, so that a branch whose folders are
// full of results from an earlier numbering cannot hold the pass forever; the next pass goes on
// from where this one stopped.
inline constexpr int kMaximo_Folios_Saltados = 1000;

// The series and folio a request goes to stamping with.
struct Eleccion_Folio {
    Serie_y_Folio Serie_Folio;
    // True when it takes the branch's next folio: a new invoice row, and the counter advances.
    bool Nueva = true;
    // The invoice row that a request keeping its own series and folio already has.
    int32_t ID_Factura = 0;
};

// Inside the request's unit of work. A request keeps the series and folio it carries only when its
// branch has an invoice row with them for its ticket (a request put back to pending after a
// rejection always has one) and no other request of the branch is on its way to stamping or
// stamped with them. Whatever else it carries is ignored, told once in the log, and it takes the
// branch's next folio, whose counter row stays locked until the unit ends. An empty series means
// that the branch has none.
Eleccion_Folio Elegir_Serie_y_Folio(Conexion& conexion, const Solicitud_Factura& solicitud,
                                    Diario_Diferido& diario);

// Throws Error_Archivo_Timbrar when the file to stamp cannot be written with this series and
// folio: a series that cannot be part of a file name and of one line, or a new folio the counter
// could not go past (no folio is ever issued twice by wrapping around).
void Comprobar_Serie_y_Folio(const Eleccion_Folio& eleccion, int32_t sucursal);

// For a new request, inside its unit: while the folio is taken (an invoice row of the branch, or a
// file of its name in the branch's folders), the counter moves past it, the skip is logged with
// what holds it, and the request takes the next one. False when kMaximo_Folios_Saltados folios
// were skipped without finding a free one: the request waits for the next pass.
bool Saltar_Folios_Ocupados(Conexion& conexion, const Solicitud_Factura& solicitud,
                            const Datos_Emision& perfil, Eleccion_Folio& eleccion,
                            Diario_Diferido& diario);

}  // namespace facturador

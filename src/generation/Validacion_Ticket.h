#pragma once

#include <cstdint>
#include <string>

#include "platform/Conexion.h"

namespace facturador {

// Whether a request for `monto` on ticket `ticket` of branch `sucursal` may be invoiced: the
// ticket must exist, and the amount added to what is already invoiced (Montos_Facturados in
// force) and, separately, to what is on its way (requests in status 2 or 3) must not exceed the
// ticket's total. On false, `motivo` tells why in the operator's words. The queries run on the
// given connection, which must not be inside a transaction, so that they see what other writers
// have committed; failures go to the caller.
bool Validar_Monto_Ticket(Conexion& conexion, int32_t ticket, int32_t sucursal, double monto,
                          std::string& motivo);

// The reason for an amount that does not fit: `ya_contado` is what already counts against the
// ticket of total `total_ticket`.
std::string Motivo_Monto_Excedido(int32_t ticket, const std::string& nombre_sucursal, double monto,
                                  double ya_contado, double total_ticket);
std::string Motivo_Ticket_Inexistente(int32_t ticket, const std::string& nombre_sucursal);

}  // namespace facturador

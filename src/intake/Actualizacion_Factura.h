#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace facturador {

// The statements that complete an invoice row of Facturas_Electronicas from its stamped XML, in
// the order they run: issuer, receiver, first concept, transferred tax, seals, certificate
// numbers and the stamp itself, one UPDATE per value, and last its Status 2 (stamped). The file is
// read once; a missing or unreadable file is an Error_Plataforma and gives no statement at all.
std::vector<std::string> Leer_Comprobante_Timbrado(const std::string& ruta_xml, int32_t id_factura);

}  // namespace facturador

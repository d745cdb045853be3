#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/Limites_Columnas.h"
#include "intake/Verificacion_Resultado.h"

namespace facturador {

// One value of the stamped XML for a column of the invoice row.
struct Valor_Timbrado {
    std::string_view Columna;
    bool Numero = false;  // written as a number; otherwise as a quoted text
    // As it goes into the statement (before quoting and escaping), after the empty-value rule.
    std::string Valor;
    // A number the column cannot hold ("1e400", a folio beyond 32 bits): as found in the XML,
    // while Valor holds the empty value in its place. Empty otherwise.
    std::string Fuera_de_Rango;
};

// The 32 values that complete an invoice row of Facturas_Electronicas from its stamped XML, in the
// order their statements run: issuer, receiver, first concept, transferred tax, seals,
// certificate numbers and the stamp itself, each read from its part of the XML as the result's
// checks read it (Comprobante_Leido): the values checked are the values stored. A number column
// takes only a number it can hold; anything else would make the statement, and with it the whole
// batch of the cycle, fail, so it counts as empty.
std::vector<Valor_Timbrado> Leer_Valores_Timbrados(const Comprobante_Leido& comprobante,
                                                   const Limites_Central& limites);
// Why the values cannot complete a registered invoice: its series, folio or UUID would be empty.
std::optional<std::string> Revisar_Identidad(const std::vector<Valor_Timbrado>& valores);
// One UPDATE per value, and last the invoice's Status 2 (stamped). An empty series, a folio 0 or
// an empty UUID is never written over what the invoice row holds: its statement is left out.
std::vector<std::string> Sentencias_Factura_Timbrada(const std::vector<Valor_Timbrado>& valores,
                                                     int32_t id_factura);
// The same statements straight from the file, with the limits of the central database. A missing
// or unreadable file, or one that cannot be decoded or is not well-formed, is an Error_Plataforma
// and gives no statement at all.
std::vector<std::string> Leer_Comprobante_Timbrado(const std::string& ruta_xml, int32_t id_factura);

}  // namespace facturador

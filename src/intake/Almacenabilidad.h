#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/Limites_Columnas.h"
#include "intake/Actualizacion_Factura.h"
#include "intake/Almacen_Comprobantes.h"
#include "intake/Solicitud_Timbrado.h"

namespace facturador {

// Whether the central database can hold what taking a stamped request in writes. A value that does
// not fit would make its statement fail: a document at once, every second again; an invoice value
// or an amount in the batch at the end of the cycle. Each check answers what does not fit, in one
// line, or nothing when everything does.

// The most the intake reads of a result's file: a stamped invoice's XML and PDF take a tiny part
// of it, and a larger file (a sparse one of gigabytes planted in the valid folder) is never read.
inline constexpr uintmax_t kMaximo_Documento = 64 * 1024 * 1024;

// The documents against kMaximo_Documento and the largest packet the server takes: a document
// travels whole in one.
std::optional<std::string> Revisar_Tamano_Documentos(uintmax_t bytes_xml, uintmax_t bytes_pdf,
                                                     const Limites_Central& limites);

// The texts of the invoice row and of the two document rows against their columns, and the amount
// against Montos_Facturados.
std::optional<std::string> Revisar_Valores(const Solicitud_Timbrado& solicitud,
                                           const std::vector<Valor_Timbrado>& valores,
                                           const std::vector<Documento_Fiscal>& documentos,
                                           const Limites_Central& limites);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <string>

#include "generation/Solicitudes.h"
#include "issuing_config/Datos_Emision.h"

namespace facturador {

// The amounts of the file to stamp for a request's total, as written ("0.00"): the subtotal (the
// base of the tax and the concept's unit value and amount) is the total without IVA rounded to
// cents, and the tax what remains, so that for a total in whole cents SubTotal + IVA = Total
// exactly and the tax lies within the limits the tax authority allows for Base × 0.16.
struct Importes_Archivo {
    std::string Subtotal;
    std::string IVA;
    std::string Total;
};
Importes_Archivo Importes_para_Timbrar(double total);

// The file to stamp as text (UTF-8): the 77 lines of the sections [Comprobante], [Emisor],
// [Receptor], [Concepto1] and [Impuestos] that the stamping program reads, each ending with CR LF.
// One concept, one transferred tax (IVA at 16%), no withheld tax. `fecha` is the "Fecha=" value.
// A control character in any value is written as one blank.
std::string Texto_para_Timbrar(const Solicitud_Factura& solicitud, const Datos_Emision& emisor,
                               const std::string& serie, int32_t folio, const std::string& fecha);

}  // namespace facturador

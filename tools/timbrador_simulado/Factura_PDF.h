#pragma once

#include <string>

#include "Archivo_para_Timbrar.h"
#include "Timbre.h"

namespace timbrador {

// The printable invoice: one page with issuer, receiver, series and folio, the concepts, the
// amounts and the stamp.
std::string Factura_PDF(const Archivo_para_Timbrar& archivo, const Timbre& timbre);

}  // namespace timbrador

#pragma once

#include <string>

namespace facturador {

// Amounts are doubles. Every rounding to cents works on the value's decimal form of 15
// significant digits and rounds halves away from zero, so that 1.005 gives 1.01 and 100 - 86.21
// gives 13.79, as an operator reading the amounts expects.

// "0.00": the form of the file to stamp (no thousands separator).
std::string Formato_Importe_Archivo(double importe);
// "#,##0.00": the form of the messages and rejection reasons.
std::string Formato_Importe_Mensaje(double importe);
// The plain shortest decimal text, up to 15 significant digits: 150.5, 116.
std::string Formato_Importe_SQL(double importe);

}  // namespace facturador

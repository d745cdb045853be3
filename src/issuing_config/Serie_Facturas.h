#pragma once

#include <string_view>

namespace facturador {

// Why a series cannot be used, as the operator and the daily log read it.
inline constexpr const char* kMotivo_Serie_Invalida =
    "La Serie de Facturas no puede contener saltos de línea ni otros caracteres de control, los "
    "caracteres / \\ : * ? \" < > | ni caracteres que no existen en Windows-1252, ni tener más de "
    "25 caracteres";

// A series becomes the Serie of the invoice, part of the name of the file to stamp and one of its
// lines. The tax authority allows 1 to 25 characters but "|" (cfdv40.xsd, Comprobante › Serie,
// pattern [^|]{1,25}); the stamping program may read the queue folder through a Windows share,
// where a file name holds none of / \ : * ? " < > |; the file is one line per value in
// Windows-1252. The empty series (a branch without one) passes: it is told apart where it is
// used.
bool Serie_Valida(std::string_view serie);

}  // namespace facturador

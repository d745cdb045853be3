#pragma once

#include <string_view>

namespace facturador {

// Why a series cannot be used, as the operator and the daily log read it.
inline constexpr const char* kMotivo_Serie_Invalida =
    "La Serie de Facturas no puede contener saltos de línea ni otros caracteres de control, "
    "diagonales (/ o \\) ni caracteres que no existen en Windows-1252";

// A series becomes part of the name of the file to stamp and one of its lines: it must be text of
// one line that Windows-1252 can hold, and it must not name another folder. The empty series
// (a branch without one) passes: it is told apart where it is used.
bool Serie_Valida(std::string_view serie);

}  // namespace facturador

#include "issuing_config/Regimen_Societario.h"

#include <array>

namespace facturador {

namespace {

// CFDI 4.0 wants the receiver's name as the tax authority registers it, without the company type
// (Anexo 20, filling guide, Receptor › Nombre); these are the types of the Mexican company and
// civil-society laws as they are usually written. A longer type comes before any shorter one it
// could be mistaken for.
constexpr std::array<std::string_view, 21> kRegimenes = {
    "S.A.P.I. DE C.V.",
    "S.A.B. DE C.V.",
    "S.A.S. DE C.V.",
    "S. DE R.L. DE C.V.",
    "S.C. DE R.L. DE C.V.",
    "S.C. DE R.L.",
    "S.P.R. DE R.L.",
    "S.P.R. DE R.I.",
    "S.A. DE C.V.",
    "S. DE R.L.",
    "S. EN N.C.",
    "S. EN C.S.",
    "S. EN C.",
    "S.A.P.I.",
    "S.A.B.",
    "S.A.S.",
    "S.N.C.",
    "I.A.P.",
    "S.A.",
    "S.C.",
    "A.C.",
};

bool Es_Separador(char c) {
    return c == ' ' || c == '.' || c == ',';
}

std::string Compacto(std::string_view texto) {
    std::string compacto;
    for (char c : texto)
        if (!Es_Separador(c))
            compacto += c;
    return compacto;
}

// Whether `nombre` ends in the letters of `compacto`, ignoring separators, and those letters
// start a word of the name.
bool Termina_En(std::string_view nombre, std::string_view compacto) {
    size_t i = nombre.size();
    size_t pendientes = compacto.size();
    while (i > 0 && pendientes > 0) {
        const char c = nombre[--i];
        if (Es_Separador(c))
            continue;
        if (c != compacto[--pendientes])
            return false;
    }
    return pendientes == 0 && (i == 0 || Es_Separador(nombre[i - 1]));
}

}  // namespace

std::optional<std::string> Regimen_Societario_Final(std::string_view nombre) {
    for (std::string_view regimen : kRegimenes)
        if (Termina_En(nombre, Compacto(regimen)))
            return std::string(regimen);
    return std::nullopt;
}

}  // namespace facturador

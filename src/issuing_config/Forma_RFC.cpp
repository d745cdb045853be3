#include "issuing_config/Forma_RFC.h"

#include <chrono>
#include <string>

#include "platform/Texto.h"

namespace facturador {

namespace {

// The RFC's shape, after the type t_RFC of the CFDI 4.0 data types (tdCFDI.xsd, Anexo 20
// versión 4.0): length 12 to 13 and the pattern
//   [A-Z&Ñ]{3,4}[0-9]{2}(0[1-9]|1[012])(0[1-9]|[12][0-9]|3[01])[A-Z0-9]{2}[0-9A]
// that is, three letters for a company, four for a person, among A to Z, Ñ and &; the date of
// incorporation or birth as yymmdd; a homoclave of two letters A to Z or digits and a check
// character, a digit or "A". The date must also be a real one (the pattern lets 30 February
// through; the tax authority's register never holds it). The generic RFCs XAXX010101000 (general
// public) and XEXX010101000 (foreign) have a person's shape.
constexpr size_t kLargo_Moral = 12;
constexpr size_t kLargo_Fisica = 13;
constexpr size_t kLargo_Fecha = 6;
constexpr size_t kLargo_Homoclave = 3;

// In the code page Ñ is one byte, so there a byte is a character of the RFC, and anything
// outside the code page becomes "?", which no RFC holds.
std::string Caracteres(std::string_view rfc) {
    return A_Windows_1252(rfc);
}

bool Es_Digito(char c) {
    return c >= '0' && c <= '9';
}

bool Es_Letra(char c) {
    return c >= 'A' && c <= 'Z';
}

bool Es_Verificador(char c) {
    return Es_Digito(c) || c == 'A';
}

bool Es_Letra_Nombre(char c) {
    return Es_Letra(c) || c == '&' || c == '\xD1';
}

int Numero(std::string_view dos_digitos) {
    return (dos_digitos[0] - '0') * 10 + (dos_digitos[1] - '0');
}

// A real calendar date; the century is unknown, so 29 February stands in every year divisible
// by four, 00 included.
bool Es_Fecha_Valida(std::string_view aammdd) {
    for (char c : aammdd)
        if (!Es_Digito(c))
            return false;
    using namespace std::chrono;
    const year_month_day fecha{year{2000 + Numero(aammdd.substr(0, 2))},
                               month{static_cast<unsigned>(Numero(aammdd.substr(2, 2)))},
                               day{static_cast<unsigned>(Numero(aammdd.substr(4, 2)))}};
    return fecha.ok();
}

}  // namespace

bool Es_RFC_Valido(std::string_view rfc) {
    const std::string t = Caracteres(rfc);
    if (t.size() != kLargo_Moral && t.size() != kLargo_Fisica)
        return false;
    const size_t letras = t.size() - kLargo_Fecha - kLargo_Homoclave;
    for (size_t i = 0; i < letras; ++i)
        if (!Es_Letra_Nombre(t[i]))
            return false;
    for (size_t i = letras + kLargo_Fecha; i + 1 < t.size(); ++i)
        if (!Es_Letra(t[i]) && !Es_Digito(t[i]))
            return false;
    return Es_Verificador(t.back()) &&
           Es_Fecha_Valida(std::string_view(t).substr(letras, kLargo_Fecha));
}

bool Es_RFC_Persona_Fisica(std::string_view rfc) {
    return Caracteres(rfc).size() == kLargo_Fisica;
}

const char* Tipo_Persona(std::string_view rfc) {
    return Es_RFC_Persona_Fisica(rfc) ? "física" : "moral";
}

bool Es_RFC_Generico(std::string_view rfc) {
    return rfc == kRFC_Publico_General || rfc == kRFC_Extranjero;
}

}  // namespace facturador

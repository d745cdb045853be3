#include "platform/Cadena_Conexion.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <vector>

#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

// The numbers and texts of the old data-access layer for these two faults of a connection string.
constexpr long kError_Proveedor_Desconocido = 3706;
constexpr long kError_Formato_Cadena = -2147217805;  // 0x80040E73

struct Par {
    std::string clave;
    std::string valor;
};

std::string_view Sin_Blancos(std::string_view texto) {
    const auto inicio = texto.find_first_not_of(" \t");
    if (inicio == std::string_view::npos)
        return {};
    const auto fin = texto.find_last_not_of(" \t");
    return texto.substr(inicio, fin - inicio + 1);
}

bool Igual_Sin_Mayusculas(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

bool Empieza_Sin_Mayusculas(std::string_view texto, std::string_view prefijo) {
    return texto.size() >= prefijo.size() &&
           Igual_Sin_Mayusculas(texto.substr(0, prefijo.size()), prefijo);
}

[[noreturn]] void Fallar_Formato(std::string_view cadena_o_valor) {
    throw Error_Plataforma(kError_Formato_Cadena, "The connection string is not well formed. (" +
                                                      std::string(cadena_o_valor) + ")");
}

// Splits "clave=valor;clave=valor" at the semicolons that stand outside double quotes and
// outside braces ({MySQL ODBC 3.51 Driver} may hold anything). Keys and values are trimmed and
// a value between double quotes loses them.
std::vector<Par> Partir_Pares(std::string_view cadena) {
    std::vector<Par> pares;
    size_t inicio = 0;
    char cierre = 0;
    for (size_t i = 0; i <= cadena.size(); ++i) {
        const char c = i < cadena.size() ? cadena[i] : ';';
        if (cierre) {
            if (c == cierre)
                cierre = 0;
            continue;
        }
        if (c == '"')
            cierre = '"';
        if (c == '{')
            cierre = '}';
        if (c != ';')
            continue;
        const std::string_view parte = cadena.substr(inicio, i - inicio);
        inicio = i + 1;
        if (Sin_Blancos(parte).empty())
            continue;
        const auto igual = parte.find('=');
        if (igual == std::string_view::npos)
            Fallar_Formato(parte);
        std::string_view valor = Sin_Blancos(parte.substr(igual + 1));
        if (valor.size() >= 2 && valor.front() == '"' && valor.back() == '"')
            valor = valor.substr(1, valor.size() - 2);
        pares.push_back({std::string(Sin_Blancos(parte.substr(0, igual))), std::string(valor)});
    }
    if (cierre)
        Fallar_Formato(cadena);
    return pares;
}

std::optional<std::string> Valor_De(const std::vector<Par>& pares, std::string_view clave) {
    for (const Par& par : pares)
        if (Igual_Sin_Mayusculas(par.clave, clave))
            return par.valor;
    return std::nullopt;
}

std::string Proveedor(std::string_view cadena) {
    const auto proveedor = Valor_De(Partir_Pares(cadena), "Provider");
    return proveedor.value_or("");
}

unsigned Leer_Puerto(std::string_view texto) {
    if (texto.empty())
        return 0;
    unsigned puerto = 0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), puerto);
    if (error != std::errc{} || fin != texto.data() + texto.size() || puerto > 65535)
        Fallar_Formato("PORT=" + std::string(texto));
    return puerto;
}

}  // namespace

bool Es_Cadena_Local(std::string_view cadena) {
    return Empieza_Sin_Mayusculas(Proveedor(cadena), "Microsoft.Jet.OLEDB.");
}

Parametros_Central Leer_Cadena_Central(std::string_view cadena) {
    const auto pares = Partir_Pares(cadena);
    const std::string proveedor = Valor_De(pares, "Provider").value_or("");
    if (!Empieza_Sin_Mayusculas(proveedor, "MSDASQL"))
        throw Error_Plataforma(
            kError_Proveedor_Desconocido,
            "Provider cannot be found. It may not be properly installed. (" + proveedor + ")");
    const auto odbc = Partir_Pares(Valor_De(pares, "Extended Properties").value_or(""));
    Parametros_Central p;
    p.Base = Valor_De(odbc, "DATABASE").value_or("");
    p.Servidor = Valor_De(odbc, "SERVER").value_or("");
    p.Usuario = Valor_De(odbc, "UID").value_or("");
    p.Contrasena = Valor_De(odbc, "PASSWORD").value_or("");
    p.Puerto = Leer_Puerto(Valor_De(odbc, "PORT").value_or(""));
    return p;
}

std::string Leer_Origen_Local(std::string_view cadena) {
    const auto origen = Valor_De(Partir_Pares(cadena), "Data Source");
    if (!origen || origen->empty())
        Fallar_Formato(cadena);
    return *origen;
}

}  // namespace facturador

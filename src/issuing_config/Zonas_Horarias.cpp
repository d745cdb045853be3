#include "issuing_config/Zonas_Horarias.h"

#include <vector>

#include "issuing_config/Lineas_Datos.h"

namespace facturador {

namespace {

[[noreturn]] void Fallar(size_t linea, const std::string& falla) {
    throw Error_Zonas_Horarias("Zonas horarias, línea " + std::to_string(linea) + ": " + falla);
}

bool Son_Digitos(std::string_view texto) {
    return !texto.empty() && texto.find_first_not_of("0123456789") == std::string_view::npos;
}

int Leer_Prefijo(std::string_view texto, size_t linea) {
    if (texto.size() != 2 || !Son_Digitos(texto))
        Fallar(linea, "prefijo de código postal inválido: " + std::string(texto));
    return (texto[0] - '0') * 10 + (texto[1] - '0');
}

std::string Prefijo(int numero) {
    return {static_cast<char>('0' + numero / 10), static_cast<char>('0' + numero % 10)};
}

void Leer_Linea(std::string_view linea, size_t numero, Zonas_por_Prefijo& zonas) {
    const std::vector<std::string> campos = Campos_de_Linea(linea);
    if (campos.size() != 3 || campos[1].empty() || campos[2].empty())
        Fallar(numero, "se esperaban prefijos|estado|zona");
    const size_t guion = campos[0].find('-');
    const int primero = Leer_Prefijo(campos[0].substr(0, guion), numero);
    const int ultimo =
        guion == std::string::npos ? primero : Leer_Prefijo(campos[0].substr(guion + 1), numero);
    if (ultimo < primero)
        Fallar(numero, "rango de prefijos al revés: " + campos[0]);
    for (int p = primero; p <= ultimo; ++p)
        if (!zonas.emplace(Prefijo(p), Zona_Estado{campos[1], campos[2]}).second)
            Fallar(numero, "prefijo repetido: " + Prefijo(p));
}

}  // namespace

Zonas_por_Prefijo Leer_Zonas_Horarias(std::string_view texto) {
    Zonas_por_Prefijo zonas;
    Leer_Lineas_de_Datos(
        texto, [&](std::string_view linea, size_t numero) { Leer_Linea(linea, numero, zonas); });
    return zonas;
}

bool Es_Codigo_Postal_Valido(std::string_view codigo_postal) {
    return codigo_postal.size() == 5 && Son_Digitos(codigo_postal) && codigo_postal >= "01000";
}

std::optional<Zona_Estado> Zona_de_Codigo_Postal(std::string_view codigo_postal) {
    static const Zonas_por_Prefijo zonas = Leer_Zonas_Horarias(Texto_Zonas_Horarias());
    if (!Es_Codigo_Postal_Valido(codigo_postal))
        return std::nullopt;
    const auto zona = zonas.find(codigo_postal.substr(0, 2));
    if (zona == zonas.end())
        return std::nullopt;
    return zona->second;
}

}  // namespace facturador

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

void Leer_Prefijos(const std::vector<std::string>& campos, size_t numero, Zonas_Legales& zonas) {
    const size_t guion = campos[1].find('-');
    const int primero = Leer_Prefijo(campos[1].substr(0, guion), numero);
    const int ultimo =
        guion == std::string::npos ? primero : Leer_Prefijo(campos[1].substr(guion + 1), numero);
    if (ultimo < primero)
        Fallar(numero, "rango de prefijos al revés: " + campos[1]);
    for (int p = primero; p <= ultimo; ++p)
        if (!zonas.Prefijos.emplace(Prefijo(p), campos[2]).second)
            Fallar(numero, "prefijo repetido: " + Prefijo(p));
}

Zonas_Estado& Estado_Listado(Zonas_Legales& zonas, const std::string& estado, size_t numero) {
    const auto e = zonas.Estados.find(estado);
    if (e == zonas.Estados.end())
        Fallar(numero, "estado sin línea \"estado\": " + estado);
    return e->second;
}

void Leer_Municipios(const std::vector<std::string>& campos, size_t numero, Zonas_Legales& zonas) {
    auto& municipios = Estado_Listado(zonas, campos[1], numero).Municipios;
    for (size_t inicio = 0; inicio <= campos[2].size();) {
        const size_t fin = std::min(campos[2].find(',', inicio), campos[2].size());
        const std::string clave = campos[2].substr(inicio, fin - inicio);
        if (clave.size() != 3 || !Son_Digitos(clave) ||
            !municipios.emplace(clave, campos[3]).second)
            Fallar(numero, "clave de municipio inválida o repetida: " + clave);
        inicio = fin + 1;
    }
}

void Leer_Linea(std::string_view linea, size_t numero, Zonas_Legales& zonas) {
    const std::vector<std::string> c = Campos_de_Linea(linea);
    for (const std::string& campo : c)
        if (campo.empty())
            Fallar(numero, "campo vacío");
    if (c[0] == "estado" && c.size() == 4) {
        if (!zonas.Estados.emplace(c[1], Zonas_Estado{c[2], c[3], {}, {}}).second)
            Fallar(numero, "estado repetido: " + c[1]);
    } else if (c[0] == "municipios" && c.size() == 4) {
        Leer_Municipios(c, numero, zonas);
    } else if (c[0] == "sin_municipio" && c.size() == 4) {
        Estado_Listado(zonas, c[1], numero).Sin_Municipio[c[2]] = c[3];
    } else if (c[0] == "prefijos" && c.size() == 3) {
        Estado_Listado(zonas, c[2], numero);
        Leer_Prefijos(c, numero, zonas);
    } else {
        Fallar(numero, "se esperaba estado, municipios, sin_municipio o prefijos");
    }
}

std::string Zona_Legal(const Zonas_Estado& estado, const Lugar_Codigo_Postal& lugar) {
    const auto& excepciones = lugar.Municipio.empty() ? estado.Sin_Municipio : estado.Municipios;
    const auto zona =
        excepciones.find(lugar.Municipio.empty() ? lugar.Huso.Descripcion : lugar.Municipio);
    return zona == excepciones.end() ? estado.Zona : zona->second;
}

}  // namespace

Zonas_Legales Leer_Zonas_Horarias(std::string_view texto) {
    Zonas_Legales zonas;
    Leer_Lineas_de_Datos(
        texto, [&](std::string_view linea, size_t numero) { Leer_Linea(linea, numero, zonas); });
    return zonas;
}

const Zonas_Legales& Zonas_Legales_Vigentes() {
    static const Zonas_Legales zonas = Leer_Zonas_Horarias(Texto_Zonas_Horarias());
    return zonas;
}

bool Es_Codigo_Postal_Valido(std::string_view codigo_postal) {
    return codigo_postal.size() == 5 && Son_Digitos(codigo_postal) && codigo_postal >= "01000";
}

std::optional<Zona_Lugar> Zona_de_Codigo_Postal(std::string_view codigo_postal) {
    const Zonas_Legales& zonas = Zonas_Legales_Vigentes();
    if (const auto lugar = Lugar_de_Codigo_Postal(codigo_postal)) {
        const auto estado = zonas.Estados.find(lugar->Estado);
        if (estado == zonas.Estados.end())
            return std::nullopt;
        return Zona_Lugar{lugar->Estado, lugar->Municipio, Zona_Legal(estado->second, *lugar),
                          lugar->Huso};
    }
    if (!Es_Codigo_Postal_Valido(codigo_postal))
        return std::nullopt;
    const auto prefijo = zonas.Prefijos.find(codigo_postal.substr(0, 2));
    if (prefijo == zonas.Prefijos.end())
        return std::nullopt;
    return Zona_Lugar{prefijo->second, "", zonas.Estados.at(prefijo->second).Zona, std::nullopt};
}

std::set<std::string> Zonas_del_Estado(std::string_view estado) {
    const auto& estados = Zonas_Legales_Vigentes().Estados;
    const auto e = estados.find(estado);
    if (e == estados.end())
        return {};
    std::set<std::string> zonas{e->second.Zona};
    for (const auto* excepciones : {&e->second.Municipios, &e->second.Sin_Municipio})
        for (const auto& [clave, zona] : *excepciones)
            zonas.insert(zona);
    return zonas;
}

std::string Nombre_Estado(std::string_view estado) {
    const auto& estados = Zonas_Legales_Vigentes().Estados;
    const auto e = estados.find(estado);
    return e == estados.end() ? std::string(estado) : e->second.Nombre;
}

}  // namespace facturador

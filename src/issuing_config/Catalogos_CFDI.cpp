#include "issuing_config/Catalogos_CFDI.h"

#include <vector>

#include "issuing_config/Forma_RFC.h"
#include "issuing_config/Lineas_Datos.h"

namespace facturador {

namespace {

[[noreturn]] void Fallar(size_t linea, const std::string& falla) {
    throw Error_Catalogo_CFDI("Catálogo CFDI, línea " + std::to_string(linea) + ": " + falla);
}

std::vector<std::string> Palabras(std::string_view texto) {
    std::vector<std::string> palabras;
    for (size_t inicio = texto.find_first_not_of(' '); inicio != std::string_view::npos;) {
        const size_t fin = texto.find(' ', inicio);
        palabras.emplace_back(texto.substr(inicio, fin - inicio));
        inicio = texto.find_first_not_of(' ', fin);
    }
    return palabras;
}

// Codes are upper-case letters and digits, such as 601, G03 or CP01.
void Validar_Codigo(const std::string& codigo, size_t linea) {
    const bool valido = !codigo.empty() && codigo.find_first_not_of(
                                               "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                               "0123456789") == std::string::npos;
    if (!valido)
        Fallar(linea, "clave inválida: " + codigo);
}

bool Leer_Marca(const std::string& marca, size_t linea) {
    if (marca == "si")
        return true;
    if (marca != "no")
        Fallar(linea, "se esperaba si o no: " + marca);
    return false;
}

Aplica_Persona Leer_Aplica(const std::vector<std::string>& campos, size_t linea) {
    return {Leer_Marca(campos[3], linea), Leer_Marca(campos[4], linea)};
}

void Leer_Regimen(const std::vector<std::string>& campos, size_t linea, Catalogos_CFDI& cat) {
    if (campos.size() != 5)
        Fallar(linea, "un régimen lleva 5 campos");
    Validar_Codigo(campos[1], linea);
    const Regimen_Fiscal_CFDI regimen{campos[2], Leer_Aplica(campos, linea)};
    if (!cat.Regimenes.emplace(campos[1], regimen).second)
        Fallar(linea, "régimen repetido: " + campos[1]);
}

// The regimes a use allows must already be in the catalogue.
void Leer_Uso(const std::vector<std::string>& campos, size_t linea, Catalogos_CFDI& cat) {
    if (campos.size() != 6)
        Fallar(linea, "un uso lleva 6 campos");
    Validar_Codigo(campos[1], linea);
    Uso_CFDI uso{campos[2], Leer_Aplica(campos, linea), {}};
    for (const std::string& regimen : Palabras(campos[5])) {
        if (!cat.Regimenes.contains(regimen))
            Fallar(linea, "régimen desconocido: " + regimen);
        uso.Regimenes.insert(regimen);
    }
    if (uso.Regimenes.empty())
        Fallar(linea, "un uso lleva al menos un régimen");
    if (!cat.Usos.emplace(campos[1], std::move(uso)).second)
        Fallar(linea, "uso repetido: " + campos[1]);
}

void Leer_Forma_Pago(const std::vector<std::string>& campos, size_t linea, Catalogos_CFDI& cat) {
    if (campos.size() != 3)
        Fallar(linea, "una forma de pago lleva 3 campos");
    Validar_Codigo(campos[1], linea);
    if (!cat.Formas_Pago.emplace(campos[1], campos[2]).second)
        Fallar(linea, "forma de pago repetida: " + campos[1]);
}

void Leer_Linea(std::string_view linea, size_t numero, Catalogos_CFDI& cat) {
    const std::vector<std::string> campos = Campos_de_Linea(linea);
    if (campos[0] == "regimen")
        Leer_Regimen(campos, numero, cat);
    else if (campos[0] == "uso")
        Leer_Uso(campos, numero, cat);
    else if (campos[0] == "forma_pago")
        Leer_Forma_Pago(campos, numero, cat);
    else
        Fallar(numero, "se esperaba regimen, uso o forma_pago: " + campos[0]);
}

}  // namespace

Catalogos_CFDI Leer_Catalogos_CFDI(std::string_view texto) {
    Catalogos_CFDI cat;
    size_t ultima = 0;
    Leer_Lineas_de_Datos(texto, [&](std::string_view linea, size_t numero) {
        Leer_Linea(linea, numero, cat);
        ultima = numero;
    });
    if (cat.Regimenes.empty() || cat.Usos.empty() || cat.Formas_Pago.empty())
        Fallar(ultima, "faltan regímenes, usos o formas de pago");
    return cat;
}

bool Aplica_a_RFC(const Aplica_Persona& aplica, std::string_view rfc) {
    return Es_RFC_Persona_Fisica(rfc) ? aplica.Fisica : aplica.Moral;
}

const Catalogos_CFDI& Catalogos_CFDI_Vigentes() {
    static const Catalogos_CFDI catalogos = Leer_Catalogos_CFDI(Texto_Catalogos_CFDI());
    return catalogos;
}

}  // namespace facturador

#include "data/Valores_Campo.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>

namespace facturador {

namespace {

bool Es_Digito(char c) {
    return c >= '0' && c <= '9';
}

// Length of the number that starts the text: sign, digits, decimals and exponent.
size_t Largo_Numero(std::string_view t) {
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    size_t digitos = 0;
    for (; i < t.size() && Es_Digito(t[i]); ++i)
        ++digitos;
    if (i < t.size() && t[i] == '.')
        for (++i; i < t.size() && Es_Digito(t[i]); ++i)
            ++digitos;
    if (digitos == 0)
        return 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-'))
            ++j;
        const size_t inicio_exponente = j;
        while (j < t.size() && Es_Digito(t[j]))
            ++j;
        if (j > inicio_exponente)
            i = j;
    }
    return i;
}

std::string_view Sin_Blancos(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

double Convertir(std::string_view numero) {
    if (!numero.empty() && numero.front() == '+')
        numero.remove_prefix(1);
    double valor = 0;
    std::from_chars(numero.data(), numero.data() + numero.size(), valor);
    return valor;
}

std::string Cambiar_Caracter(std::string_view texto, char de, char a) {
    std::string resultado(texto);
    for (char& c : resultado)
        if (c == de)
            c = a;
    return resultado;
}

}  // namespace

double Valor_Inicial(std::string_view texto) {
    while (!texto.empty() && (texto.front() == ' ' || texto.front() == '\t'))
        texto.remove_prefix(1);
    return Convertir(texto.substr(0, Largo_Numero(texto)));
}

std::optional<int32_t> Entero_Redondeado(double valor) {
    const double redondeado = std::nearbyint(valor);
    if (!(redondeado >= std::numeric_limits<int32_t>::min() &&
          redondeado <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(redondeado);
}

std::optional<double> Leer_Numero(std::string_view texto) {
    texto = Sin_Blancos(texto);
    if (texto.empty() || Largo_Numero(texto) != texto.size())
        return std::nullopt;
    return Convertir(texto);
}

std::optional<double> Leer_Numero_en_Rango(std::string_view texto) {
    texto = Sin_Blancos(texto);
    if (texto.empty() || Largo_Numero(texto) != texto.size())
        return std::nullopt;
    if (texto.front() == '+')
        texto.remove_prefix(1);
    double valor = 0;
    if (std::from_chars(texto.data(), texto.data() + texto.size(), valor).ec != std::errc())
        return std::nullopt;
    return valor;
}

std::optional<int32_t> Leer_Entero(std::string_view texto) {
    const auto numero = Leer_Numero(texto);
    if (!numero)
        return std::nullopt;
    return Entero_Redondeado(*numero);
}

std::string Ruta_Desde_BD(std::string_view guardada) {
    return Cambiar_Caracter(guardada, '*', std::filesystem::path::preferred_separator);
}

std::string Ruta_Para_BD(std::string_view ruta) {
    return Cambiar_Caracter(ruta, std::filesystem::path::preferred_separator, '*');
}

}  // namespace facturador

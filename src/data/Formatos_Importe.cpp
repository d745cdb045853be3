#include "data/Formatos_Importe.h"

#include <fmt/format.h>

#include <charconv>
#include <cmath>

namespace facturador {

namespace {

// Adds one to a string of decimal digits.
void Sumar_Uno(std::string& digitos) {
    for (auto it = digitos.rbegin(); it != digitos.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digitos.insert(digitos.begin(), '1');
}

// The absolute value in cents, as a string of digits of at least three (so "0.05" is "005").
std::string Centavos(double importe) {
    // d.dddddddddddddde±XX: the 15 significant digits and the power of ten of the first.
    char cientifico[32];
    const char* fin = std::to_chars(cientifico, cientifico + sizeof cientifico, std::fabs(importe),
                                    std::chars_format::scientific, 14)
                          .ptr;
    const std::string_view texto(cientifico, static_cast<size_t>(fin - cientifico));
    std::string digitos;
    digitos.reserve(24);
    digitos += texto[0];
    digitos += texto.substr(2, 14);
    int exponente = 0;
    const size_t e = texto.find('e');
    std::from_chars(texto.data() + e + 1 + (texto[e + 1] == '+' ? 1 : 0), fin, exponente);

    const int cifras = exponente + 3;  // digits up to and including the cents
    bool subir = false;
    if (cifras <= 0) {
        subir = cifras == 0 && digitos[0] >= '5';
        digitos = "0";
    } else if (cifras >= static_cast<int>(digitos.size())) {
        digitos.append(cifras - digitos.size(), '0');
    } else {
        subir = digitos[cifras] >= '5';
        digitos.resize(cifras);
    }
    if (subir)
        Sumar_Uno(digitos);
    digitos.erase(0, std::min(digitos.find_first_not_of('0'), digitos.size()));
    if (digitos.size() < 3)
        digitos.insert(0, 3 - digitos.size(), '0');
    return digitos;
}

std::string Con_Miles(const std::string& entero) {
    std::string agrupado;
    for (size_t i = 0; i < entero.size(); ++i) {
        if (i > 0 && (entero.size() - i) % 3 == 0)
            agrupado += ',';
        agrupado += entero[i];
    }
    return agrupado;
}

std::string Formatear(double importe, bool con_miles) {
    if (!std::isfinite(importe))
        return fmt::format("{}", importe);
    std::string centavos = Centavos(importe);
    const bool negativo = importe < 0 && centavos.find_first_not_of('0') != std::string::npos;
    if (con_miles) {
        centavos = Con_Miles(centavos.substr(0, centavos.size() - 2)) +
                   centavos.substr(centavos.size() - 2);
    }
    centavos.insert(centavos.size() - 2, 1, '.');
    if (negativo)
        centavos.insert(0, 1, '-');
    return centavos;
}

}  // namespace

std::string Formato_Importe_Archivo(double importe) {
    return Formatear(importe, false);
}

std::string Formato_Importe_Mensaje(double importe) {
    return Formatear(importe, true);
}

std::string Formato_Importe_SQL(double importe) {
    if (importe == 0)
        return "0";
    return fmt::format("{:.15g}", importe);
}

}  // namespace facturador

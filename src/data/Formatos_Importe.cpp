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
    const std::string cientifico = fmt::format("{:.14e}", std::fabs(importe));
    std::string digitos = cientifico.substr(0, 1) + cientifico.substr(2, 14);
    int exponente = 0;
    const auto e = cientifico.find('e');
    const char* inicio = cientifico.data() + e + 1 + (cientifico[e + 1] == '+' ? 1 : 0);
    std::from_chars(inicio, cientifico.data() + cientifico.size(), exponente);

    const int cifras = exponente + 3;  // digits up to and including the cents
    std::string centavos;
    bool subir = false;
    if (cifras <= 0) {
        centavos = "0";
        subir = cifras == 0 && digitos[0] >= '5';
    } else if (cifras >= static_cast<int>(digitos.size())) {
        centavos = digitos + std::string(cifras - digitos.size(), '0');
    } else {
        centavos = digitos.substr(0, cifras);
        subir = digitos[cifras] >= '5';
    }
    if (subir)
        Sumar_Uno(centavos);
    centavos.erase(0, std::min(centavos.find_first_not_of('0'), centavos.size()));
    if (centavos.size() < 3)
        centavos.insert(0, 3 - centavos.size(), '0');
    return centavos;
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
    const std::string centavos = Centavos(importe);
    std::string entero = centavos.substr(0, centavos.size() - 2);
    if (con_miles)
        entero = Con_Miles(entero);
    const bool negativo = importe < 0 && centavos.find_first_not_of('0') != std::string::npos;
    return (negativo ? "-" : "") + entero + "." + centavos.substr(centavos.size() - 2);
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

double Redondear_Centavos(double importe) {
    const std::string texto = Formato_Importe_Archivo(importe);
    double redondeado = 0;
    std::from_chars(texto.data(), texto.data() + texto.size(), redondeado);
    return redondeado;
}

}  // namespace facturador

#include "issuing_config/Regimen_Societario.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "issuing_config/Lineas_Datos.h"
#include "platform/Texto_Unicode.h"

namespace facturador {

namespace {

// A written form and its letters without separators.
struct Forma_Regimen {
    std::string Escrita;
    std::string Letras;
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

// The forms of the compiled-in file, the longest letters first, so that a type is never reported
// as a shorter one that it ends with. A form written other than as names compare would never be
// found: the file is refused whole.
std::vector<Forma_Regimen> Leer_Formas(std::string_view texto) {
    std::vector<Forma_Regimen> formas;
    Leer_Lineas_de_Datos(texto, [&](std::string_view linea, size_t numero) {
        for (const std::string& escrita : Campos_de_Linea(linea)) {
            if (escrita.empty() || escrita != Forma_Comparable(escrita))
                throw std::runtime_error(
                    "Regímenes societarios, línea " + std::to_string(numero) +
                    ": forma vacía o no escrita en mayúsculas sin acentos: " + escrita);
            formas.push_back({escrita, Compacto(escrita)});
        }
    });
    std::stable_sort(formas.begin(), formas.end(), [](const auto& a, const auto& b) {
        return a.Letras.size() > b.Letras.size();
    });
    return formas;
}

// Whether `nombre` ends in the letters `compacto`, separators aside, and those letters start a
// word of the name.
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
    static const std::vector<Forma_Regimen> formas = Leer_Formas(Texto_Regimenes_Societarios());
    const std::string comparable = Forma_Comparable(nombre);
    for (const Forma_Regimen& forma : formas)
        if (Termina_En(comparable, forma.Letras))
            return forma.Escrita;
    return std::nullopt;
}

}  // namespace facturador

#include "issuing_config/Lineas_Datos.h"

#include <algorithm>

#include "platform/Texto.h"

namespace facturador {

void Leer_Lineas_de_Datos(std::string_view texto,
                          const std::function<void(std::string_view linea, size_t numero)>& leer) {
    size_t numero = 0;
    for (size_t inicio = 0; inicio < texto.size();) {
        const size_t fin = std::min(texto.find('\n', inicio), texto.size());
        std::string_view linea = texto.substr(inicio, fin - inicio);
        if (linea.ends_with('\r'))
            linea.remove_suffix(1);
        const std::string recortada = Recortar(linea);
        ++numero;
        if (!recortada.empty() && recortada[0] != '#')
            leer(recortada, numero);
        inicio = fin + 1;
    }
}

std::vector<std::string> Campos_de_Linea(std::string_view linea) {
    std::vector<std::string> campos;
    for (size_t inicio = 0;;) {
        const size_t fin = linea.find('|', inicio);
        campos.push_back(Recortar(linea.substr(inicio, fin - inicio)));
        if (fin == std::string_view::npos)
            return campos;
        inicio = fin + 1;
    }
}

}  // namespace facturador

#include "Archivo_para_Timbrar.h"

#include "platform/Texto.h"

namespace timbrador {

Archivo_para_Timbrar Archivo_para_Timbrar::Leer(std::string_view bytes) {
    Archivo_para_Timbrar archivo;
    const std::string texto = facturador::Desde_Windows_1252(bytes);
    std::map<std::string, std::string>* actual = nullptr;
    size_t inicio = 0;
    while (inicio < texto.size()) {
        size_t fin = texto.find('\n', inicio);
        if (fin == std::string::npos)
            fin = texto.size();
        std::string_view linea(texto.data() + inicio, fin - inicio);
        inicio = fin + 1;
        if (!linea.empty() && linea.back() == '\r')
            linea.remove_suffix(1);
        if (linea.size() >= 2 && linea.front() == '[' && linea.back() == ']') {
            actual = &archivo.secciones_[std::string(linea.substr(1, linea.size() - 2))];
            continue;
        }
        const size_t igual = linea.find('=');
        if (actual == nullptr || igual == std::string_view::npos)
            continue;
        actual->emplace(linea.substr(0, igual), linea.substr(igual + 1));
    }
    return archivo;
}

bool Archivo_para_Timbrar::Tiene_Seccion(const std::string& seccion) const {
    return secciones_.contains(seccion);
}

std::string Archivo_para_Timbrar::Valor(const std::string& seccion,
                                        const std::string& clave) const {
    const auto s = secciones_.find(seccion);
    if (s == secciones_.end())
        return "";
    const auto v = s->second.find(clave);
    return v == s->second.end() ? "" : v->second;
}

std::vector<std::string> Archivo_para_Timbrar::Conceptos() const {
    std::vector<std::string> nombres;
    for (int n = 1; Tiene_Seccion("Concepto" + std::to_string(n)); ++n)
        nombres.push_back("Concepto" + std::to_string(n));
    return nombres;
}

std::vector<Traslado> Archivo_para_Timbrar::Traslados(const std::string& seccion) const {
    std::vector<Traslado> traslados;
    const auto s = secciones_.find(seccion);
    if (s == secciones_.end())
        return traslados;
    for (int n = 1;; ++n) {
        const std::string k = std::to_string(n);
        if (!s->second.contains("TrasladoBase" + k))
            break;
        traslados.push_back(
            {Valor(seccion, "TrasladoBase" + k), Valor(seccion, "TrasladoImpuesto" + k),
             Valor(seccion, "TrasladoTipoFactor" + k), Valor(seccion, "TrasladoTasaOCuota" + k),
             Valor(seccion, "TrasladoImporte" + k)});
    }
    return traslados;
}

}  // namespace timbrador

#include "Operador_Guionado.h"

namespace facturador::pruebas {

void Operador_Guionado::Mensaje_Estandar(const std::string& texto, const std::string& titulo) {
    mostrados.push_back({"estandar", titulo, texto});
}

void Operador_Guionado::Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) {
    mostrados.push_back({"advertencia", titulo, mensaje});
}

bool Operador_Guionado::Pedir_Confirmacion(const std::string& titulo, const std::string& mensaje) {
    mostrados.push_back({"confirmacion", titulo, mensaje});
    if (respuestas.empty())
        return false;
    const bool si = respuestas.front();
    respuestas.pop_front();
    return si;
}

void Operador_Guionado::Configurar_Ruta_BD() {
    mostrados.push_back({"ruta_bd", "", ""});
    if (al_configurar_ruta_bd)
        al_configurar_ruta_bd();
}

std::string Operador_Guionado::Elegir_Carpeta(const std::string& titulo) {
    mostrados.push_back({"carpeta", titulo, ""});
    if (carpetas.empty())
        return {};
    std::string carpeta = carpetas.front();
    carpetas.pop_front();
    return carpeta;
}

void Operador_Guionado::Abrir_Documento(const std::string& ruta) {
    mostrados.push_back({"abrir", "", ruta});
}

std::vector<Operador_Guionado::Mostrado> Operador_Guionado::De_Tipo(const std::string& tipo) const {
    std::vector<Mostrado> de_tipo;
    for (const auto& m : mostrados)
        if (m.tipo == tipo)
            de_tipo.push_back(m);
    return de_tipo;
}

std::vector<std::string> Operador_Guionado::Textos() const {
    std::vector<std::string> textos;
    for (const auto& m : mostrados)
        textos.push_back(m.tipo + ": " + m.titulo + " / " + m.texto);
    return textos;
}

}  // namespace facturador::pruebas

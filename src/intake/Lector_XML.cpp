#include "intake/Lector_XML.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "platform/Archivos.h"
#include "platform/Documento_XML.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr size_t kNo_Hallado = std::string_view::npos;

// Upper case of the ASCII letters only, whatever the locale: the sought names are plain ASCII.
char Mayuscula(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Position of the first occurrence of `buscado` in `texto`, comparing letters without regard to
// case.
size_t Buscar_Sin_Mayusculas(std::string_view texto, std::string_view buscado) {
    const auto igual = [](char a, char b) { return Mayuscula(a) == Mayuscula(b); };
    const auto it = std::search(texto.begin(), texto.end(), buscado.begin(), buscado.end(), igual);
    return it == texto.end() && !buscado.empty() ? kNo_Hallado : it - texto.begin();
}

// The line that starts at `inicio`, without its end; `inicio` moves to the next line.
std::string_view Siguiente_Linea(std::string_view contenido, size_t& inicio) {
    const size_t fin = std::min(contenido.find('\r', inicio), contenido.size());
    const std::string_view linea = contenido.substr(inicio, fin - inicio);
    inicio = fin + 1;
    if (inicio < contenido.size() && contenido[inicio] == '\n')
        ++inicio;
    return linea;
}

// The value of the attribute in a line already cut at the tag's position, if it is there.
std::optional<std::string_view> Valor_En_Linea(std::string_view cortada,
                                               std::string_view atributo) {
    const size_t blanco = Buscar_Sin_Mayusculas(cortada, " " + std::string(atributo));
    if (blanco == kNo_Hallado)
        return std::nullopt;
    const size_t inicio = blanco + atributo.size() + 3;
    const size_t cierre = inicio > cortada.size() ? kNo_Hallado : cortada.find('"', inicio);
    if (cierre == kNo_Hallado)
        return std::nullopt;
    return cortada.substr(inicio, cierre - inicio);
}

}  // namespace

std::string Buscar_Atributo_XML(std::string_view contenido, std::string_view etiqueta,
                                std::string_view atributo) {
    size_t posicion_etiqueta = kNo_Hallado;
    for (size_t inicio = 0; inicio < contenido.size();) {
        const std::string_view linea = Siguiente_Linea(contenido, inicio);
        if (posicion_etiqueta == kNo_Hallado)
            posicion_etiqueta = Buscar_Sin_Mayusculas(linea, etiqueta);
        if (posicion_etiqueta == kNo_Hallado)
            continue;
        const std::string_view cortada = linea.substr(std::min(posicion_etiqueta, linea.size()));
        if (const auto valor = Valor_En_Linea(cortada, atributo))
            return Texto_Leido(*valor);
    }
    return "";
}

std::string Leer_Texto_XML(const std::string& ruta) {
    Texto_XML texto = Decodificar_XML(Leer_Archivo(ruta));
    if (!texto.Texto)
        throw Error_Plataforma(EILSEQ, texto.Problema + ": " + ruta);
    return std::move(*texto.Texto);
}

std::string Leer_Atributo_XML(const std::string& ruta, std::string_view etiqueta,
                              std::string_view atributo) {
    return Buscar_Atributo_XML(Leer_Texto_XML(ruta), etiqueta, atributo);
}

}  // namespace facturador

#include "platform/Documento_XML.h"

#include <QString>
#include <QXmlStreamReader>

#include <cctype>

#include "platform/Texto.h"

namespace facturador {

namespace {

Elemento_XML Leer_Elemento(const QXmlStreamReader& lector, int nivel) {
    Elemento_XML elemento;
    elemento.Nombre = lector.name().toString().toStdString();
    elemento.Nivel = nivel;
    for (const QXmlStreamAttribute& atributo : lector.attributes())
        elemento.Atributos.emplace_back(atributo.name().toString().toStdString(),
                                        atributo.value().toString().toStdString());
    return elemento;
}

enum class Forma { Ocho_Bits, UTF8_Con_Marca, UTF16LE, UTF16BE };

struct Deteccion {
    Forma forma = Forma::Ocho_Bits;
    size_t marca = 0;  // bytes of the byte order mark
};

std::optional<Deteccion> Detectar(std::string_view b) {
    const auto empieza = [&](std::string_view prefijo) { return b.starts_with(prefijo); };
    using namespace std::string_view_literals;
    if (empieza("\xFF\xFE\0\0"sv) || empieza("\0\0\xFE\xFF"sv) || empieza("\0\0\0<"sv) ||
        empieza("<\0\0\0"sv))
        return std::nullopt;  // UTF-32
    if (empieza("\xEF\xBB\xBF"sv))
        return Deteccion{Forma::UTF8_Con_Marca, 3};
    if (empieza("\xFF\xFE"sv))
        return Deteccion{Forma::UTF16LE, 2};
    if (empieza("\xFE\xFF"sv))
        return Deteccion{Forma::UTF16BE, 2};
    if (empieza("<\0?\0"sv))
        return Deteccion{Forma::UTF16LE, 0};
    if (empieza("\0<\0?"sv))
        return Deteccion{Forma::UTF16BE, 0};
    return Deteccion{};
}

// The encoding the XML declaration at the start of the text names, in upper case; empty when
// there is no declaration or it names none.
std::string Codificacion_Declarada(std::string_view texto) {
    if (!texto.starts_with("<?xml"))
        return "";
    const std::string_view declaracion = texto.substr(0, texto.find("?>"));
    size_t i = declaracion.find("encoding");
    if (i == std::string_view::npos)
        return "";
    i = declaracion.find_first_not_of(" \t\r\n", i + 8);
    if (i == std::string_view::npos || declaracion[i] != '=')
        return "";
    i = declaracion.find_first_not_of(" \t\r\n", i + 1);
    if (i == std::string_view::npos || (declaracion[i] != '"' && declaracion[i] != '\''))
        return "";
    const size_t fin = declaracion.find(declaracion[i], i + 1);
    std::string nombre(declaracion.substr(i + 1, fin == std::string_view::npos ? 0 : fin - i - 1));
    for (char& c : nombre)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return nombre;
}

bool Es_UTF16(const std::string& nombre) {
    return nombre == "UTF-16" || nombre == "UTF-16LE" || nombre == "UTF-16BE";
}

Texto_XML Problema(std::string problema) {
    return {std::nullopt, std::move(problema)};
}

Texto_XML Decodificar_UTF16(std::string_view cuerpo, bool big_endian) {
    auto texto = Desde_UTF16(cuerpo, big_endian);
    if (!texto)
        return Problema("el XML no es UTF-16 válido");
    const std::string declarada = Codificacion_Declarada(*texto);
    if (!declarada.empty() && !Es_UTF16(declarada))
        return Problema("el XML está en UTF-16 pero declara la codificación '" + declarada + "'");
    return {std::move(texto), ""};
}

Texto_XML Decodificar_Ocho_Bits(std::string_view bytes, bool con_marca) {
    const std::string declarada = Codificacion_Declarada(bytes);
    if (!con_marca && (declarada == "WINDOWS-1252" || declarada == "CP1252" ||
                       declarada == "ISO-8859-1" || declarada == "LATIN1"))
        return {Desde_Windows_1252(bytes), ""};
    if (!declarada.empty() && declarada != "UTF-8" && declarada != "US-ASCII")
        return Problema("el XML declara la codificación '" + declarada +
                        "', que no es la de sus bytes o no se admite");
    if (!Es_UTF8_Valido(bytes))
        return Problema("el XML no es UTF-8 válido, la codificación que declara o supone");
    return {std::string(bytes), ""};
}

}  // namespace

Texto_XML Decodificar_XML(std::string_view bytes) {
    const auto deteccion = Detectar(bytes);
    if (!deteccion)
        return Problema("el XML está en UTF-32, que no se admite");
    const std::string_view cuerpo = bytes.substr(deteccion->marca);
    switch (deteccion->forma) {
        case Forma::UTF16LE:
            return Decodificar_UTF16(cuerpo, false);
        case Forma::UTF16BE:
            return Decodificar_UTF16(cuerpo, true);
        case Forma::UTF8_Con_Marca:
            return Decodificar_Ocho_Bits(cuerpo, true);
        case Forma::Ocho_Bits:
            break;
    }
    return Decodificar_Ocho_Bits(cuerpo, false);
}

std::optional<std::string> Elemento_XML::Atributo(std::string_view nombre) const {
    for (const auto& [clave, valor] : Atributos)
        if (clave == nombre)
            return valor;
    return std::nullopt;
}

std::optional<std::string> Recorrer_XML(std::string_view texto_utf8,
                                        const std::function<void(const Elemento_XML&)>& visitar) {
    // Given characters, not bytes, the reader keeps them as they are whatever the declaration says.
    QXmlStreamReader lector(
        QString::fromUtf8(texto_utf8.data(), static_cast<qsizetype>(texto_utf8.size())));
    int nivel = 0;
    while (!lector.atEnd()) {
        switch (lector.readNext()) {
            case QXmlStreamReader::StartElement:
                visitar(Leer_Elemento(lector, nivel++));
                break;
            case QXmlStreamReader::EndElement:
                --nivel;
                break;
            default:
                break;
        }
    }
    if (!lector.hasError())
        return std::nullopt;
    return lector.errorString().toStdString() + " (línea " + std::to_string(lector.lineNumber()) +
           ")";
}

}  // namespace facturador

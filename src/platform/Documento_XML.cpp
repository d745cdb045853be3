#include "platform/Documento_XML.h"

#include <QByteArray>
#include <QXmlStreamReader>

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

}  // namespace

std::optional<std::string> Elemento_XML::Atributo(std::string_view nombre) const {
    for (const auto& [clave, valor] : Atributos)
        if (clave == nombre)
            return valor;
    return std::nullopt;
}

std::optional<std::string> Recorrer_XML(std::string_view bytes,
                                        const std::function<void(const Elemento_XML&)>& visitar) {
    // The reader works on the caller's bytes without copying them.
    const QByteArray datos =
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QXmlStreamReader lector(datos);
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

#include "platform/Texto_Unicode.h"

#include <QString>

#include "platform/Texto.h"

namespace facturador {

namespace {

// QChar::isSpace covers the separators of Unicode (no-break and ideographic spaces among them)
// and the tab and line breaks; the zero-width space and the byte-order mark show nothing either
// and arrive the same way, pasted from a tax certificate or a web page.
bool Es_Blanco(QChar c) {
    return c.isSpace() || c == QChar(0x200B) || c == QChar(0xFEFF);
}

QString Compuesta_Sin_Blancos_Sobrantes(std::string_view utf8) {
    const QString compuesta = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))
                                  .normalized(QString::NormalizationForm_C);
    QString resultado;
    resultado.reserve(compuesta.size());
    bool blanco_pendiente = false;
    for (const QChar c : compuesta) {
        if (Es_Blanco(c)) {
            blanco_pendiente = !resultado.isEmpty();
            continue;
        }
        if (blanco_pendiente)
            resultado += QLatin1Char(' ');
        blanco_pendiente = false;
        resultado += c;
    }
    return resultado;
}

}  // namespace

std::string Forma_Nombre(std::string_view utf8) {
    if (!Es_UTF8_Valido(utf8))
        return Recortar(utf8);
    return Compuesta_Sin_Blancos_Sobrantes(utf8).toStdString();
}

std::string Forma_Comparable(std::string_view utf8) {
    if (!Es_UTF8_Valido(utf8))
        return Mayusculas(Recortar(utf8));
    const QString separada =
        Compuesta_Sin_Blancos_Sobrantes(utf8).normalized(QString::NormalizationForm_D);
    QString sin_marcas;
    sin_marcas.reserve(separada.size());
    for (const QChar c : separada)
        if (c.category() != QChar::Mark_NonSpacing)
            sin_marcas += c;
    return sin_marcas.toUpper().toStdString();
}

}  // namespace facturador

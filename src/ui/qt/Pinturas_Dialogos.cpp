#include "ui/qt/Pinturas_Dialogos.h"

#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace facturador {

namespace {

constexpr int Radio_Panel = 16;
constexpr int Radio_Boton = 6;

QImage Lienzo(QSize tamano, const QColor& fondo) {
    QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(fondo);
    return imagen;
}

// The heading band across the top of a panel whose outline is `contorno`.
void Pintar_Encabezado(QPainter& pintor, const QPainterPath& contorno, int ancho) {
    QLinearGradient degradado(0, 0, 0, Alto_Encabezado);
    degradado.setColorAt(0, Color_Marca.lighter(125));
    degradado.setColorAt(1, Color_Marca);
    pintor.save();
    pintor.setClipPath(contorno);
    pintor.fillRect(0, 0, ancho, Alto_Encabezado, degradado);
    pintor.restore();
}

}  // namespace

QImage Dibujar_Fondo_Advertencia(QSize tamano) {
    QImage imagen = Lienzo(tamano, Color_Panel);
    QPainter pintor(&imagen);
    QPainterPath contorno;
    contorno.addRect(0, 0, tamano.width(), tamano.height());
    Pintar_Encabezado(pintor, contorno, tamano.width());
    pintor.setPen(QPen(Color_Marca, 2));
    pintor.drawRect(QRectF(1, 1, tamano.width() - 2, tamano.height() - 2));
    return imagen;
}

QImage Dibujar_Fondo_Confirmacion(QSize tamano) {
    QImage imagen = Lienzo(tamano, Color_Clave);
    QPainter pintor(&imagen);
    // No antialiasing on the outline: a blended edge pixel would be neither key nor panel and
    // would show as a pink fringe around the shaped window.
    pintor.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath contorno;
    contorno.addRoundedRect(0, 0, tamano.width(), tamano.height(), Radio_Panel, Radio_Panel);
    pintor.fillPath(contorno, Color_Marca);
    QPainterPath interior;
    interior.addRoundedRect(2, 2, tamano.width() - 4, tamano.height() - 4, Radio_Panel - 2,
                            Radio_Panel - 2);
    pintor.fillPath(interior, Color_Panel);
    Pintar_Encabezado(pintor, interior, tamano.width());
    return imagen;
}

QImage Dibujar_Boton(QSize tamano, const QString& leyenda, const QColor& base, bool presionado) {
    const qreal escala = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QImage imagen = Lienzo(tamano * escala, Qt::transparent);
    imagen.setDevicePixelRatio(escala);
    QPainter pintor(&imagen);
    pintor.setRenderHint(QPainter::Antialiasing);
    const QRectF marco(0.5, 0.5, tamano.width() - 1, tamano.height() - 1);
    const QColor cara = presionado ? base.darker(125) : base;
    QLinearGradient degradado(0, 0, 0, tamano.height());
    degradado.setColorAt(0, presionado ? cara.darker(110) : cara.lighter(125));
    degradado.setColorAt(1, presionado ? cara.lighter(105) : cara);
    pintor.setPen(QPen(base.darker(150), 1));
    pintor.setBrush(degradado);
    pintor.drawRoundedRect(marco, Radio_Boton, Radio_Boton);
    QFont letra = QGuiApplication::font();
    letra.setBold(true);
    pintor.setFont(letra);
    pintor.setPen(Qt::white);
    const QRectF texto = presionado ? marco.translated(1, 1) : marco;
    pintor.drawText(texto, Qt::AlignCenter, leyenda);
    return imagen;
}

}  // namespace facturador

#include "app/qt/Dibujos_Aplicacion.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace facturador {

namespace {

const QColor kAzul_Oscuro(0x1f, 0x3a, 0x5f);
const QColor kAzul_Claro(0xe8, 0xf0, 0xf8);
const QColor kVerde_Sello(0x2e, 0x8b, 0x57);

void Dibujar_Hoja(QPainter& p, int lado) {
    const qreal margen = lado * 0.16;
    const QRectF hoja(margen, lado * 0.06, lado - 2 * margen, lado * 0.84);
    p.setPen(QPen(kAzul_Oscuro, lado / 16.0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(hoja, lado * 0.06, lado * 0.06);
    p.setPen(QPen(kAzul_Oscuro, lado / 20.0));
    for (int linea = 1; linea <= 3; ++linea) {
        const qreal y = hoja.top() + hoja.height() * linea / 6.0;
        p.drawLine(QPointF(hoja.left() + lado * 0.1, y), QPointF(hoja.right() - lado * 0.1, y));
    }
}

void Dibujar_Sello(QPainter& p, int lado) {
    const QRectF sello(lado * 0.48, lado * 0.48, lado * 0.5, lado * 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kVerde_Sello);
    p.drawEllipse(sello);
    QPainterPath palomita;
    palomita.moveTo(sello.left() + sello.width() * 0.25, sello.center().y());
    palomita.lineTo(sello.left() + sello.width() * 0.45, sello.bottom() - sello.height() * 0.28);
    palomita.lineTo(sello.right() - sello.width() * 0.22, sello.top() + sello.height() * 0.3);
    p.setPen(QPen(Qt::white, lado / 12.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(palomita);
}

}  // namespace

QImage Dibujo_Icono(int lado) {
    QImage dibujo(lado, lado, QImage::Format_ARGB32_Premultiplied);
    dibujo.fill(Qt::transparent);
    QPainter p(&dibujo);
    p.setRenderHint(QPainter::Antialiasing);
    Dibujar_Hoja(p, lado);
    Dibujar_Sello(p, lado);
    return dibujo;
}

QIcon Icono_Aplicacion() {
    QIcon icono;
    for (int lado : {16, 22, 32, 48, 64})
        icono.addPixmap(QPixmap::fromImage(Dibujo_Icono(lado)));
    return icono;
}

void Fondo_Aplicacion::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient degradado(0, 0, 0, height());
    degradado.setColorAt(0, Qt::white);
    degradado.setColorAt(1, kAzul_Claro);
    p.fillRect(rect(), degradado);
    p.setPen(QPen(kAzul_Oscuro, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace facturador

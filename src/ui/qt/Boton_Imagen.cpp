#include "ui/qt/Boton_Imagen.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "ui/Puntero_Dentro.h"

namespace facturador {

Boton_Imagen::Boton_Imagen(const QPixmap& suelto, const QPixmap& presionado, QWidget* padre)
    : QWidget(padre), suelto_(suelto), presionado_cara_(presionado) {
    setFixedSize(sizeHint());
}

QSize Boton_Imagen::sizeHint() const {
    return suelto_.deviceIndependentSize().toSize();
}

void Boton_Imagen::Presionar() {
    presionado_ = true;
    update();
}

void Boton_Imagen::Soltar_En(QPointF punto) {
    presionado_ = false;
    update();
    if (Puntero_Dentro(width(), height(), punto.x(), punto.y()))
        emit Pulsado();
}

void Boton_Imagen::paintEvent(QPaintEvent*) {
    QPainter pintor(this);
    pintor.drawPixmap(0, 0, presionado_ ? presionado_cara_ : suelto_);
    if (!hasFocus())
        return;
    QStyleOptionFocusRect foco;
    foco.initFrom(this);
    foco.rect = rect().adjusted(3, 3, -3, -3);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &foco, &pintor, this);
}

void Boton_Imagen::mousePressEvent(QMouseEvent* evento) {
    Presionar();
    evento->accept();
}

void Boton_Imagen::mouseReleaseEvent(QMouseEvent* evento) {
    evento->accept();
    Soltar_En(evento->position());
}

}  // namespace facturador

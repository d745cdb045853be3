#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace facturador {

// A label that answers the mouse like the window's command labels: a left click ("X", the error
// log link) and a double click (the title line).
class Etiqueta_Pulsable : public QLabel {
    Q_OBJECT

  public:
    explicit Etiqueta_Pulsable(const QString& texto, QWidget* padre = nullptr)
        : QLabel(texto, padre) {}

  signals:
    void Clic();
    void Doble_Clic();

  protected:
    void mouseReleaseEvent(QMouseEvent* evento) override {
        if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint()))
            emit Clic();
        QLabel::mouseReleaseEvent(evento);
    }
    void mouseDoubleClickEvent(QMouseEvent* evento) override {
        if (evento->button() == Qt::LeftButton)
            emit Doble_Clic();
        QLabel::mouseDoubleClickEvent(evento);
    }
};

}  // namespace facturador

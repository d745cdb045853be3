#pragma once

#include <QPixmap>
#include <QPointF>
#include <QWidget>

namespace facturador {

// A button drawn from two pictures, released and pressed. Any mouse button presses it; releasing
// shows the released face again and counts as a click only over the button, edges included.
class Boton_Imagen : public QWidget {
    Q_OBJECT

  public:
    Boton_Imagen(const QPixmap& suelto, const QPixmap& presionado, QWidget* padre);

    void Presionar();
    // Release at `punto`, relative to the button.
    void Soltar_En(QPointF punto);
    bool Presionado() const { return presionado_; }
    QSize sizeHint() const override;

  signals:
    void Pulsado();

  protected:
    void paintEvent(QPaintEvent* evento) override;
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;

  private:
    QPixmap suelto_;
    QPixmap presionado_cara_;
    bool presionado_ = false;
};

}  // namespace facturador

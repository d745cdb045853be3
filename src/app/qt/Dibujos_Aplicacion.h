#pragma once

#include <QIcon>
#include <QImage>
#include <QWidget>

namespace facturador {

// The program's own icon (window and notification area): a sheet of paper with a green stamp.
QIcon Icono_Aplicacion();
// The same drawing at one size, also for the desktop's icon theme; needs no display.
QImage Dibujo_Icono(int lado);

// picFondo: the painted background of the main window, a soft vertical gradient framed by a
// thin border.
class Fondo_Aplicacion : public QWidget {
  public:
    explicit Fondo_Aplicacion(QWidget* padre = nullptr) : QWidget(padre) {}

  protected:
    void paintEvent(QPaintEvent* evento) override;
};

}  // namespace facturador

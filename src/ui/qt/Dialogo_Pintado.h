#pragma once

#include <QDialog>

namespace facturador {

// Common frame of the operator's dialogs: borderless, drawn from pictures, no taskbar entry.
// They close only through their own buttons: Escape and the window manager's close do nothing.
// A dialog is used once: closing it releases it, and the next question builds a fresh one.
class Dialogo_Pintado : public QDialog {
    Q_OBJECT

  public:
    bool Cerrado() const { return cerrado_; }

  protected:
    Dialogo_Pintado(QSize tamano, QWidget* dueno);

    // Centres the window on the screen, `bajar` pixels below the vertical centre.
    void Centrar_En_Pantalla(int bajar);
    // Ends the modal display and releases the window; later calls do nothing.
    void Cerrar();
    void reject() override {}
    void showEvent(QShowEvent* evento) override;

  private:
    bool cerrado_ = false;
};

}  // namespace facturador

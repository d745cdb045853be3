#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>

#include "ui/qt/Dialogo_Pintado.h"

class QKeyEvent;
class QLabel;

namespace facturador {

class Boton_Imagen;

// The message dialog: a heading, a message and one Aceptar button. Owned by the main window when
// there is one.
class frmAdvertencia : public Dialogo_Pintado {
    Q_OBJECT

  public:
    // The process-wide dialog, created on first use.
    static frmAdvertencia* Instancia();
    // The dialog while it exists and has not been closed, or null.
    static frmAdvertencia* Abierta();

    // Puts the texts in place and fits the window to them, without showing it.
    void Preparar(const QString& Titulo, const QString& Mensaje);

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    explicit frmAdvertencia(QWidget* dueno);
    void Crear_Controles();
    void Ajustar_Al_Mensaje();
    bool Tecla_En_Boton(const QKeyEvent& tecla);

    QPixmap imgAceptar_Up;
    QPixmap imgAceptar_Dn;
    QLabel* picFondo = nullptr;
    QLabel* lblEncabezado = nullptr;
    QLabel* lblMensaje = nullptr;
    Boton_Imagen* picBoton_Aceptar = nullptr;
    // The Enter key went down on the button and has not come up yet.
    bool Enter_Presionado = false;

    static inline QPointer<frmAdvertencia> instancia_;
};

// Shows the message dialog modally and returns once the operator has dismissed it.
void Mostrar_Advertencia(const QString& Titulo, const QString& Mensaje);

}  // namespace facturador

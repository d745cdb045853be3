#pragma once

#include <QPointer>
#include <QString>

#include "ui/qt/Dialogo_Pintado.h"

class QKeyEvent;
class QLabel;

namespace facturador {

class Boton_Imagen;

// The answer of the last confirmation: true for yes. False until the operator accepts.
extern bool Confirmacion_Aceptada;

// The yes/no dialog, shaped to the outline of its background picture. Alt+S answers yes and
// Alt+N no, whichever part of the window has the focus.
class frmConfirmar_Operacion : public Dialogo_Pintado {
    Q_OBJECT

  public:
    // The process-wide dialog, created on first use.
    static frmConfirmar_Operacion* Instancia();
    // The dialog while it exists and has not been closed, or null.
    static frmConfirmar_Operacion* Abierta();

    // Puts the texts in place and clears the previous answer, without showing the dialog.
    void Preparar(const QString& Titulo, const QString& Mensaje);

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    frmConfirmar_Operacion();
    void Crear_Controles();
    Boton_Imagen* Crear_Boton(const char* nombre, const QImage& suelto, const QImage& presionado,
                              QPoint posicion, bool respuesta);
    Boton_Imagen* Boton_Del_Atajo(const QKeyEvent& tecla) const;
    void Responder(bool si);

    QLabel* picFondo = nullptr;
    QLabel* lblEncabezado = nullptr;
    QLabel* lblEncabezado2 = nullptr;
    QLabel* lblMensaje = nullptr;
    Boton_Imagen* imgBoton_Aceptar = nullptr;
    Boton_Imagen* imgBoton_Cancelar = nullptr;

    static inline QPointer<frmConfirmar_Operacion> instancia_;
};

// Asks a yes/no question modally; returns, and leaves in Confirmacion_Aceptada, the answer.
bool Pedir_Confirmacion(const QString& Titulo, const QString& Mensaje);

}  // namespace facturador

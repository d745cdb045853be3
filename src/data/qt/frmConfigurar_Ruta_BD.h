#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace facturador {

// The database location dialog: the operator types the central database's server and name; the
// dialog tests a connection with them, records them in the local configuration and confirms.
//
// Shown modally with exec(). It closes only in two ways:
// - a successful save: exec() answers QDialog::Accepted (the confirmation message follows the
//   closing of the window);
// - "X" (lblCerrar): the operator chose to end the program. exec() answers kTerminar_Programa and
//   Termino_Programa() is true. The dialog does not end the process itself: its caller must end
//   the program at once (after removing the tray icon, if it has placed one).
// Escape and the window manager's close request do nothing.
class frmConfigurar_Ruta_BD : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTerminar_Programa = 2;

    explicit frmConfigurar_Ruta_BD(QWidget* propietario = nullptr);

    bool Termino_Programa() const { return termino_programa_; }

    // cmdAceptar, and Enter in txtIP.
    void Guardar_Parametros();

  protected:
    void reject() override;
    void keyPressEvent(QKeyEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    void Crear_Controles();
    void Disponer_Controles();
    void Terminar_Programa();

    QWidget* picFondo = nullptr;
    QLabel* lblEncabezado = nullptr;
    QLabel* lblCerrar = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtIP = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtNombre = nullptr;
    QPushButton* cmdAceptar = nullptr;
    bool termino_programa_ = false;
};

// Shows the dialog modally, owned by `propietario`. Answers true when the operator chose "X":
// the caller must then end the program.
bool Mostrar_Configurar_Ruta_BD(QWidget* propietario);

}  // namespace facturador

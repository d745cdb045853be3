#pragma once

#include <QDialog>

#include "cancellation/Cancelacion.h"
#include "data/qt/Lugar_Aparte.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace facturador {

// "Cancelar Factura": the operator types the series, folio and reason of an issued invoice and
// asks for its cancellation. The checks and effects are Aceptar_Cancelacion's; the window holds
// nothing beyond its controls, and takes no input while a central query of its own is on its way.
class frmCancelar_Factura : public QDialog, public Vista_Cancelacion {
    Q_OBJECT

  public:
    explicit frmCancelar_Factura(QWidget* propietario = nullptr);

    void cmdAceptar_Click();

    // Vista_Cancelacion
    std::string Texto(Control_Cancelacion control) const override;
    void Poner_Texto(Control_Cancelacion control, const std::string& texto) override;
    void Enfocar(Control_Cancelacion control) override;
    bool Ejecutar_Consulta(const std::function<void(const Abrir_Central&)>& consulta) override;

  protected:
    void keyPressEvent(QKeyEvent* evento) override;

  private:
    void Crear_Controles();
    void Disponer_Controles();
    QWidget* Control(Control_Cancelacion control) const;

    QLabel* lblSerie = nullptr;
    QLineEdit* txtSerie = nullptr;
    QLabel* lblNro = nullptr;
    QLineEdit* txtNro = nullptr;
    QLabel* lblMotivo = nullptr;
    QLineEdit* txtMotivo = nullptr;
    QLabel* lblTitulo_UUID = nullptr;
    QLabel* lblUUID = nullptr;
    QLabel* lblTicket = nullptr;
    QPushButton* cmdAceptar = nullptr;
    Lugar_Aparte lugar_{this};
};

// Shows the window modally, owned by `propietario`, and returns when it closes.
void Mostrar_Cancelar_Factura(QWidget* propietario);

}  // namespace facturador

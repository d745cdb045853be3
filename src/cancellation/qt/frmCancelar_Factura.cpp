#include "cancellation/qt/frmCancelar_Factura.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt/Teclado.h"

namespace facturador {

namespace {

template <typename Control>
Control* Con_Nombre(Control* control, const char* nombre) {
    control->setObjectName(QString::fromLatin1(nombre));
    return control;
}

QLabel* Etiqueta(const char* texto, QWidget* padre, const char* nombre) {
    return Con_Nombre(new QLabel(QString::fromUtf8(texto), padre), nombre);
}

bool Es_Enter(const QKeyEvent& tecla) {
    return tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter;
}

}  // namespace

frmCancelar_Factura::frmCancelar_Factura(QWidget* propietario) : QDialog(propietario) {
    setObjectName("frmCancelar_Factura");
    setWindowTitle("Cancelar Factura");
    setModal(true);
    Crear_Controles();
    Disponer_Controles();
    connect(cmdAceptar, &QPushButton::clicked, this, &frmCancelar_Factura::cmdAceptar_Click);
    txtSerie->setFocus();
}

void frmCancelar_Factura::Crear_Controles() {
    lblSerie = Etiqueta("Serie", this, "lblSerie");
    txtSerie = Con_Nombre(new QLineEdit(this), "txtSerie");
    lblNro = Etiqueta("Folio", this, "lblNro");
    txtNro = Con_Nombre(new QLineEdit(this), "txtNro");
    lblMotivo = Etiqueta("Motivo de la cancelación", this, "lblMotivo");
    txtMotivo = Con_Nombre(new QLineEdit(this), "txtMotivo");
    lblTitulo_UUID = Etiqueta("UUID:", this, "lblTitulo_UUID");
    lblUUID = Etiqueta("", this, "lblUUID");
    lblUUID->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblTicket = Etiqueta("0", this, "lblTicket");
    lblTicket->hide();
    cmdAceptar = Con_Nombre(new QPushButton("Aceptar", this), "cmdAceptar");
    // Enter never presses the button from a box: there it moves the focus on.
    cmdAceptar->setAutoDefault(false);
    lblSerie->setBuddy(txtSerie);
    lblNro->setBuddy(txtNro);
    lblMotivo->setBuddy(txtMotivo);
    Instalar_Teclado(txtSerie, Filtro_Caja::Mayusculas, Enter_Caja::Descartar);
    Instalar_Teclado(txtNro, Filtro_Caja::Solo_Numeros, Enter_Caja::Descartar);
    Instalar_Teclado(txtMotivo, Filtro_Caja::Ninguno, Enter_Caja::Descartar);
    setTabOrder(txtSerie, txtNro);
    setTabOrder(txtNro, txtMotivo);
    setTabOrder(txtMotivo, cmdAceptar);
}

void frmCancelar_Factura::Disponer_Controles() {
    auto* campos = new QGridLayout;
    campos->addWidget(lblSerie, 0, 0);
    campos->addWidget(txtSerie, 0, 1);
    campos->addWidget(lblNro, 0, 2);
    campos->addWidget(txtNro, 0, 3);
    campos->addWidget(lblMotivo, 1, 0, 1, 4);
    campos->addWidget(txtMotivo, 2, 0, 1, 4);
    campos->setColumnStretch(3, 1);
    txtSerie->setMinimumWidth(txtSerie->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 6);
    auto* pie = new QHBoxLayout;
    pie->addWidget(lblTitulo_UUID);
    pie->addWidget(lblUUID, 1);
    pie->addWidget(cmdAceptar);
    auto* ventana = new QVBoxLayout(this);
    ventana->setContentsMargins(16, 14, 16, 14);
    ventana->setSpacing(10);
    ventana->addLayout(campos);
    ventana->addLayout(pie);
    const int ancho_uuid =
        fontMetrics().horizontalAdvance(QStringLiteral("XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"));
    setMinimumWidth(ancho_uuid + cmdAceptar->sizeHint().width() + 120);
    setFixedHeight(sizeHint().height());
}

void frmCancelar_Factura::cmdAceptar_Click() {
    Aceptar_Cancelacion(*this);
}

QWidget* frmCancelar_Factura::Control(Control_Cancelacion control) const {
    switch (control) {
        case Control_Cancelacion::txtSerie:
            return txtSerie;
        case Control_Cancelacion::txtNro:
            return txtNro;
        case Control_Cancelacion::txtMotivo:
            return txtMotivo;
        case Control_Cancelacion::lblUUID:
            return lblUUID;
        case Control_Cancelacion::lblTicket:
            return lblTicket;
    }
    return nullptr;
}

std::string frmCancelar_Factura::Texto(Control_Cancelacion control) const {
    const QWidget* widget = Control(control);
    if (const auto* caja = qobject_cast<const QLineEdit*>(widget))
        return caja->text().toStdString();
    return static_cast<const QLabel*>(widget)->text().toStdString();
}

void frmCancelar_Factura::Poner_Texto(Control_Cancelacion control, const std::string& texto) {
    QWidget* widget = Control(control);
    if (auto* caja = qobject_cast<QLineEdit*>(widget))
        caja->setText(QString::fromStdString(texto));
    else
        static_cast<QLabel*>(widget)->setText(QString::fromStdString(texto));
}

void frmCancelar_Factura::Enfocar(Control_Cancelacion control) {
    Control(control)->setFocus();
}

bool frmCancelar_Factura::Ejecutar_Consulta(
    const std::function<void(const Abrir_Central&)>& consulta) {
    return lugar_.Ejecutar_Consulta(consulta);
}

// Enter on the focused button presses it; anywhere else it does nothing (the boxes turn it into
// a move to the next control before it gets here).
void frmCancelar_Factura::keyPressEvent(QKeyEvent* evento) {
    if (!Es_Enter(*evento)) {
        QDialog::keyPressEvent(evento);
        return;
    }
    if (focusWidget() == cmdAceptar)
        cmdAceptar->click();
    evento->accept();
}

void Mostrar_Cancelar_Factura(QWidget* propietario) {
    frmCancelar_Factura ventana(propietario);
    ventana.exec();
}

}  // namespace facturador

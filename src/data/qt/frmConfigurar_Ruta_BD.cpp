#include "data/qt/frmConfigurar_Ruta_BD.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/Ruta_BD.h"
#include "platform/Entorno.h"

namespace facturador {

namespace {

// The painted background: a light blue gradient under a darker heading band, with a border.
class Fondo_Ruta_BD : public QWidget {
  public:
    explicit Fondo_Ruta_BD(QWidget* padre) : QWidget(padre) {}

    // Height of the heading band, set once the heading has its size.
    int alto_encabezado = 0;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter pintor(this);
        QLinearGradient degradado(0, 0, 0, height());
        degradado.setColorAt(0, QColor(0xEE, 0xF4, 0xFB));
        degradado.setColorAt(1, QColor(0xC9, 0xDB, 0xEF));
        pintor.fillRect(rect(), degradado);
        pintor.fillRect(QRect(0, 0, width(), alto_encabezado), QColor(0x2F, 0x5C, 0x8F));
        pintor.setPen(QColor(0x2F, 0x5C, 0x8F));
        pintor.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

QLabel* Nueva_Etiqueta(QWidget* padre, const char* nombre, const QString& texto) {
    auto* etiqueta = new QLabel(texto, padre);
    etiqueta->setObjectName(nombre);
    return etiqueta;
}

void Poner_Texto_Blanco_Negrita(QLabel* etiqueta) {
    QFont letra = etiqueta->font();
    letra.setBold(true);
    etiqueta->setFont(letra);
    etiqueta->setStyleSheet("color: white;");
}

}  // namespace

frmConfigurar_Ruta_BD::frmConfigurar_Ruta_BD(QWidget* propietario)
    : QDialog(propietario, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("frmConfigurar_Ruta_BD");
    setWindowTitle("Configurar ruta de la base de datos principal");
    setModal(true);
    Crear_Controles();
    Disponer_Controles();
    connect(cmdAceptar, &QPushButton::clicked, this, &frmConfigurar_Ruta_BD::Guardar_Parametros);
    connect(txtIP, &QLineEdit::returnPressed, this, &frmConfigurar_Ruta_BD::Guardar_Parametros);
    lblCerrar->installEventFilter(this);
    txtIP->setFocus();
}

void frmConfigurar_Ruta_BD::Crear_Controles() {
    picFondo = new Fondo_Ruta_BD(this);
    picFondo->setObjectName("picFondo");
    lblEncabezado =
        Nueva_Etiqueta(picFondo, "lblEncabezado", "Favor de seleccionar la Base de Datos");
    lblCerrar = Nueva_Etiqueta(picFondo, "lblCerrar", "X");
    Label3 = Nueva_Etiqueta(picFondo, "Label3", "Parámetros de la Base de Datos");
    Label1 = Nueva_Etiqueta(picFondo, "Label1", "IP del Servidor");
    Label2 = Nueva_Etiqueta(picFondo, "Label2", "Nombre");
    txtIP = new QLineEdit(picFondo);
    txtIP->setObjectName("txtIP");
    txtNombre = new QLineEdit(picFondo);
    txtNombre->setObjectName("txtNombre");
    cmdAceptar = new QPushButton("Aceptar", picFondo);
    cmdAceptar->setObjectName("cmdAceptar");
    // Enter saves only from txtIP (and on the focused button), never as a dialog default.
    cmdAceptar->setAutoDefault(false);
    Poner_Texto_Blanco_Negrita(lblEncabezado);
    Poner_Texto_Blanco_Negrita(lblCerrar);
    lblCerrar->setCursor(Qt::PointingHandCursor);
    QFont letra = Label3->font();
    letra.setBold(true);
    Label3->setFont(letra);
    Label1->setBuddy(txtIP);
    Label2->setBuddy(txtNombre);
    setTabOrder(txtIP, txtNombre);
    setTabOrder(txtNombre, cmdAceptar);
}

void frmConfigurar_Ruta_BD::Disponer_Controles() {
    auto* encabezado = new QHBoxLayout;
    encabezado->setContentsMargins(10, 6, 10, 6);
    encabezado->addWidget(lblEncabezado, 1);
    encabezado->addWidget(lblCerrar);
    auto* campos = new QGridLayout;
    campos->addWidget(Label1, 0, 0);
    campos->addWidget(txtIP, 0, 1);
    campos->addWidget(Label2, 1, 0);
    campos->addWidget(txtNombre, 1, 1);
    campos->setColumnMinimumWidth(1, 220);
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(cmdAceptar);
    auto* cuerpo = new QVBoxLayout;
    cuerpo->setContentsMargins(16, 10, 16, 14);
    cuerpo->addWidget(Label3);
    cuerpo->addLayout(campos);
    cuerpo->addLayout(botones);
    auto* disposicion = new QVBoxLayout(picFondo);
    disposicion->setContentsMargins(0, 0, 0, 0);
    disposicion->setSpacing(0);
    disposicion->addLayout(encabezado);
    disposicion->addLayout(cuerpo);
    auto* ventana = new QVBoxLayout(this);
    ventana->setContentsMargins(0, 0, 0, 0);
    ventana->addWidget(picFondo);
    setFixedSize(sizeHint());
    static_cast<Fondo_Ruta_BD*>(picFondo)->alto_encabezado = encabezado->sizeHint().height();
}

void frmConfigurar_Ruta_BD::Guardar_Parametros() {
    if (facturador::Guardar_Parametros(txtIP->text().toStdString(),
                                       txtNombre->text().toStdString())) {
        QDialog::done(Accepted);
        Operador_Actual().Mostrar_Advertencia(kTitulo_Ruta_BD, kMensaje_Ruta_BD_Guardada);
    } else {
        Operador_Actual().Mostrar_Advertencia(kTitulo_Ruta_BD, kMensaje_Ruta_BD_Fallida);
        txtIP->setFocus();
    }
}

void frmConfigurar_Ruta_BD::Terminar_Programa() {
    termino_programa_ = true;
    QDialog::done(kTerminar_Programa);
}

void frmConfigurar_Ruta_BD::reject() {}

void frmConfigurar_Ruta_BD::keyPressEvent(QKeyEvent* evento) {
    const bool enter = evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter;
    if (!enter) {
        QDialog::keyPressEvent(evento);
        return;
    }
    if (focusWidget() == cmdAceptar)
        cmdAceptar->click();
    evento->accept();
}

bool frmConfigurar_Ruta_BD::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == lblCerrar && evento->type() == QEvent::MouseButtonRelease) {
        const auto* raton = static_cast<QMouseEvent*>(evento);
        if (raton->button() == Qt::LeftButton &&
            lblCerrar->rect().contains(raton->position().toPoint())) {
            Terminar_Programa();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

bool Mostrar_Configurar_Ruta_BD(QWidget* propietario) {
    frmConfigurar_Ruta_BD dialogo(propietario);
    dialogo.exec();
    return dialogo.Termino_Programa();
}

}  // namespace facturador

#include "ui/qt/frmAdvertencia.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLabel>

#include "ui/qt/Boton_Imagen.h"
#include "ui/qt/Pinturas_Dialogos.h"
#include "ui/qt/Ventana_Principal.h"

namespace facturador {

namespace {

// 5250 x 2130 twips, shown 300 twips below the centre of the screen.
constexpr QSize Tamano_Ventana{350, 142};
constexpr int Bajo_Del_Centro = 20;

constexpr QSize Tamano_Boton{96, 28};
constexpr int Margen = 16;
constexpr int Alto_Mensaje = 60;
constexpr int Margen_Inferior = 10;

QLabel* Etiqueta(QWidget* padre, const char* nombre, const QColor& color) {
    auto* etiqueta = new QLabel(padre);
    etiqueta->setObjectName(QLatin1String(nombre));
    etiqueta->setTextFormat(Qt::PlainText);
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::WindowText, color);
    etiqueta->setPalette(paleta);
    return etiqueta;
}

bool Es_Enter(const QKeyEvent& tecla) {
    return tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter;
}

}  // namespace

frmAdvertencia* frmAdvertencia::Instancia() {
    if (!instancia_ || instancia_->Cerrado())
        instancia_ = new frmAdvertencia(Ventana_Principal());
    return instancia_;
}

frmAdvertencia* frmAdvertencia::Abierta() {
    return instancia_ && !instancia_->Cerrado() ? instancia_.data() : nullptr;
}

frmAdvertencia::frmAdvertencia(QWidget* dueno) : Dialogo_Pintado(Tamano_Ventana, dueno) {
    setObjectName(QStringLiteral("frmAdvertencia"));
    Crear_Controles();
    Centrar_En_Pantalla(Bajo_Del_Centro);
}

void frmAdvertencia::Crear_Controles() {
    picFondo = new QLabel(this);
    picFondo->setObjectName(QStringLiteral("picFondo"));

    lblEncabezado = Etiqueta(this, "lblEncabezado", Qt::white);
    QFont negrita = lblEncabezado->font();
    negrita.setBold(true);
    lblEncabezado->setFont(negrita);
    lblEncabezado->setGeometry(Margen, 0, width() - 2 * Margen, Alto_Encabezado);
    lblEncabezado->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    lblMensaje = Etiqueta(this, "lblMensaje", Color_Texto);
    lblMensaje->setWordWrap(true);
    lblMensaje->setAlignment(Qt::AlignCenter);

    const QString leyenda = QStringLiteral("Aceptar");
    imgAceptar_Up = QPixmap::fromImage(Dibujar_Boton(Tamano_Boton, leyenda, Color_Boton_Si, false));
    imgAceptar_Dn = QPixmap::fromImage(Dibujar_Boton(Tamano_Boton, leyenda, Color_Boton_Si, true));
    picBoton_Aceptar = new Boton_Imagen(imgAceptar_Up, imgAceptar_Dn, this);
    picBoton_Aceptar->setObjectName(QStringLiteral("picBoton_Aceptar"));
    picBoton_Aceptar->setAccessibleName(leyenda);
    picBoton_Aceptar->setFocusPolicy(Qt::StrongFocus);
    picBoton_Aceptar->installEventFilter(this);
    connect(picBoton_Aceptar, &Boton_Imagen::Pulsado, this, &frmAdvertencia::Cerrar);
    picBoton_Aceptar->setFocus();
    Ajustar_Al_Mensaje();
}

void frmAdvertencia::Preparar(const QString& Titulo, const QString& Mensaje) {
    lblEncabezado->setText(Titulo);
    lblMensaje->setText(Mensaje);
    Enter_Presionado = false;
    Ajustar_Al_Mensaje();
    Centrar_En_Pantalla(Bajo_Del_Centro);
}

// A message longer than the usual three or four lines makes the window taller rather than being
// cut off: error descriptions from the database can be long and must be readable whole.
void frmAdvertencia::Ajustar_Al_Mensaje() {
    const int ancho = Tamano_Ventana.width() - 2 * Margen;
    const int alto = std::max(Alto_Mensaje, lblMensaje->heightForWidth(ancho));
    const int alto_ventana = Tamano_Ventana.height() + alto - Alto_Mensaje;
    setFixedSize(Tamano_Ventana.width(), alto_ventana);
    lblMensaje->setGeometry(Margen, Alto_Encabezado + 4, ancho, alto);
    picBoton_Aceptar->move((width() - Tamano_Boton.width()) / 2,
                           alto_ventana - Margen_Inferior - Tamano_Boton.height());
    picFondo->setGeometry(rect());
    picFondo->setPixmap(QPixmap::fromImage(Dibujar_Fondo_Advertencia(size())));
}

bool frmAdvertencia::eventFilter(QObject* objeto, QEvent* evento) {
    const bool es_tecla =
        evento->type() == QEvent::KeyPress || evento->type() == QEvent::KeyRelease;
    if (objeto == picBoton_Aceptar && es_tecla)
        return Tecla_En_Boton(*static_cast<QKeyEvent*>(evento));
    return Dialogo_Pintado::eventFilter(objeto, evento);
}

// Enter closes the dialog when it goes down and comes up on the button: an Enter pressed in the
// window that opened the dialog must not dismiss the message on its way up.
bool frmAdvertencia::Tecla_En_Boton(const QKeyEvent& tecla) {
    if (!Es_Enter(tecla))
        return true;
    if (tecla.type() == QEvent::KeyPress) {
        picBoton_Aceptar->Presionar();
        Enter_Presionado = true;
    } else if (!tecla.isAutoRepeat() && Enter_Presionado) {
        Enter_Presionado = false;
        Cerrar();
    }
    return true;
}

void Mostrar_Advertencia(const QString& Titulo, const QString& Mensaje) {
    frmAdvertencia* dialogo = frmAdvertencia::Instancia();
    dialogo->Preparar(Titulo, Mensaje);
    dialogo->exec();
}

}  // namespace facturador

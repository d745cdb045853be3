#include "ui/qt/frmConfirmar_Operacion.h"

#include <QKeyEvent>
#include <QLabel>

#include "ui/qt/Boton_Imagen.h"
#include "ui/qt/Pinturas_Dialogos.h"
#include "ui/qt/Region_Imagen.h"
#include "ui/qt/frmImagenes.h"

namespace facturador {

bool Confirmacion_Aceptada = false;

namespace {

// Top 2640 twips; Left 4140 twips for yes and 900 twips for no.
constexpr QPoint Posicion_Si{276, 176};
constexpr QPoint Posicion_No{60, 176};
constexpr int Margen = 24;

QLabel* Etiqueta(QWidget* padre, const char* nombre, const QColor& color, QRect lugar) {
    auto* etiqueta = new QLabel(padre);
    etiqueta->setObjectName(QLatin1String(nombre));
    etiqueta->setTextFormat(Qt::PlainText);
    etiqueta->setGeometry(lugar);
    QPalette paleta = etiqueta->palette();
    paleta.setColor(QPalette::WindowText, color);
    etiqueta->setPalette(paleta);
    return etiqueta;
}

void Poner_Negrita(QLabel* etiqueta) {
    QFont letra = etiqueta->font();
    letra.setBold(true);
    etiqueta->setFont(letra);
    etiqueta->setAlignment(Qt::AlignCenter);
}

}  // namespace

frmConfirmar_Operacion* frmConfirmar_Operacion::Instancia() {
    if (!instancia_ || instancia_->Cerrado())
        instancia_ = new frmConfirmar_Operacion();
    return instancia_;
}

frmConfirmar_Operacion* frmConfirmar_Operacion::Abierta() {
    return instancia_ && !instancia_->Cerrado() ? instancia_.data() : nullptr;
}

frmConfirmar_Operacion::frmConfirmar_Operacion()
    : Dialogo_Pintado(frmImagenes::Instancia().imgFondo_Confirmacion.size(), nullptr) {
    setObjectName(QStringLiteral("frmConfirmar_Operacion"));
    Crear_Controles();
    setMask(Region_Desde_Imagen(frmImagenes::Instancia().imgFondo_Confirmacion));
    Centrar_En_Pantalla(0);
    // The shortcuts belong to the whole window, whichever part of it holds the focus.
    installEventFilter(this);
    for (QWidget* parte : findChildren<QWidget*>())
        parte->installEventFilter(this);
}

void frmConfirmar_Operacion::Crear_Controles() {
    const frmImagenes& imagenes = frmImagenes::Instancia();
    picFondo = new QLabel(this);
    picFondo->setObjectName(QStringLiteral("picFondo"));
    picFondo->setPixmap(QPixmap::fromImage(imagenes.imgFondo_Confirmacion));
    picFondo->setGeometry(rect());

    // The heading is drawn twice: a dark copy one pixel down and right, beneath it, is its shadow.
    const QRect encabezado(Margen, 0, width() - 2 * Margen, Alto_Encabezado);
    lblEncabezado2 =
        Etiqueta(this, "lblEncabezado2", Color_Marca_Oscuro, encabezado.translated(1, 1));
    lblEncabezado = Etiqueta(this, "lblEncabezado", Qt::white, encabezado);
    Poner_Negrita(lblEncabezado2);
    Poner_Negrita(lblEncabezado);

    const int alto_mensaje = Posicion_Si.y() - Alto_Encabezado - 12;
    lblMensaje = Etiqueta(this, "lblMensaje", Color_Texto,
                          QRect(Margen, Alto_Encabezado + 6, width() - 2 * Margen, alto_mensaje));
    lblMensaje->setWordWrap(true);
    lblMensaje->setAlignment(Qt::AlignCenter);

    imgBoton_Aceptar =
        Crear_Boton("imgBoton_Aceptar", imagenes.imgSI_UP, imagenes.imgSI_Dn, Posicion_Si, true);
    imgBoton_Cancelar =
        Crear_Boton("imgBoton_Cancelar", imagenes.imgNo_UP, imagenes.imgNo_DN, Posicion_No, false);
}

Boton_Imagen* frmConfirmar_Operacion::Crear_Boton(const char* nombre, const QImage& suelto,
                                                  const QImage& presionado, QPoint posicion,
                                                  bool respuesta) {
    auto* boton =
        new Boton_Imagen(QPixmap::fromImage(suelto), QPixmap::fromImage(presionado), this);
    boton->setObjectName(QLatin1String(nombre));
    boton->setAccessibleName(respuesta ? QStringLiteral("Sí") : QStringLiteral("No"));
    boton->move(posicion);
    connect(boton, &Boton_Imagen::Pulsado, this, [this, respuesta] { Responder(respuesta); });
    return boton;
}

void frmConfirmar_Operacion::Preparar(const QString& Titulo, const QString& Mensaje) {
    lblEncabezado->setText(Titulo);
    lblEncabezado2->setText(Titulo);
    lblMensaje->setText(Mensaje);
    Confirmacion_Aceptada = false;
}

// Alt alone and S or N, in either case.
Boton_Imagen* frmConfirmar_Operacion::Boton_Del_Atajo(const QKeyEvent& tecla) const {
    if (tecla.modifiers() != Qt::AltModifier)
        return nullptr;
    if (tecla.key() == Qt::Key_S)
        return imgBoton_Aceptar;
    if (tecla.key() == Qt::Key_N)
        return imgBoton_Cancelar;
    return nullptr;
}

// The shortcut plays the button: pressed face on key down, a click inside it on key up.
bool frmConfirmar_Operacion::eventFilter(QObject* objeto, QEvent* evento) {
    const auto tipo = evento->type();
    if (tipo != QEvent::KeyPress && tipo != QEvent::KeyRelease)
        return Dialogo_Pintado::eventFilter(objeto, evento);
    const auto& tecla = *static_cast<QKeyEvent*>(evento);
    Boton_Imagen* boton = Boton_Del_Atajo(tecla);
    if (!boton)
        return false;
    if (tipo == QEvent::KeyPress)
        boton->Presionar();
    else if (!tecla.isAutoRepeat())
        boton->Soltar_En(QPointF(1, 1));
    return true;
}

void frmConfirmar_Operacion::Responder(bool si) {
    if (Cerrado())
        return;
    Confirmacion_Aceptada = si;
    Cerrar();
}

bool Pedir_Confirmacion(const QString& Titulo, const QString& Mensaje) {
    frmConfirmar_Operacion* dialogo = frmConfirmar_Operacion::Instancia();
    dialogo->Preparar(Titulo, Mensaje);
    dialogo->exec();
    return Confirmacion_Aceptada;
}

}  // namespace facturador

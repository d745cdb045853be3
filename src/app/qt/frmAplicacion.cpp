#include "app/qt/frmAplicacion.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Arranque.h"
#include "app/Textos_Ventana.h"
#include "app/qt/Dibujos_Aplicacion.h"
#include "app/qt/Etiqueta_Pulsable.h"
#include "app/qt/Icono_Bandeja.h"
#include "app/qt/frmSolicitudes.h"
#include "cancellation/qt/frmCancelar_Factura.h"
#include "data/Conexiones.h"
#include "data/Configuracion.h"
#include "data/Log.h"
#include "data/qt/Lugar_Aparte.h"
#include "generation/Estado_Generacion.h"
#include "issuing_config/qt/frmConfiguracion_Facturas.h"

namespace facturador {

namespace {

constexpr int kIntervalo_Ciclo_ms = 1000;
constexpr int kEspera_Antes_De_Ocultar_ms = 5000;
constexpr int kPaso_Ocultamiento_ms = 50;
constexpr int kDesplazamiento_Paso_px = 4;  // 60 twips
constexpr int kMargen_Derecho_px = 3;
constexpr int kMargen_Inferior_px = 34;

const char* const kEncabezado_Diseno = "Ultima Sincronización";
const char* const kEncabezado_Programa = "Generador de Facturas Solicitadas On Line";

QString Texto(const char* utf8) {
    return QString::fromUtf8(utf8);
}

template <typename Control>
Control* Con_Nombre(Control* control, const char* nombre) {
    control->setObjectName(QString::fromLatin1(nombre));
    return control;
}

void Poner_Tamano_Letra(QWidget* control, int puntos) {
    QFont letra = control->font();
    letra.setPointSize(puntos);
    control->setFont(letra);
}

QScreen* Pantalla_De(const QWidget* ventana) {
    QScreen* pantalla = ventana->screen();
    return pantalla ? pantalla : QGuiApplication::primaryScreen();
}

}  // namespace

frmAplicacion::frmAplicacion(QWidget* padre)
    : QWidget(padre, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint), ciclo_(*this) {
    setObjectName("frmAplicacion");
    setWindowIcon(Icono_Aplicacion());
    setWindowTitle(Texto(kEncabezado_Programa));
    Crear_Controles();
    Acomodar_Controles();
    tmrTimer = Con_Nombre(new QTimer(this), "tmrTimer");
    tmrTimer->setInterval(kIntervalo_Ciclo_ms);
    tmrMostrar = Con_Nombre(new QTimer(this), "tmrMostrar");
    tmrMostrar->setInterval(0);
    bandeja_ = new Icono_Bandeja(this);
    Conectar_Eventos();
    // The generation pass names here the file to stamp it is writing.
    Estado_Generacion_Actual().Mostrar_Archivo = [this](const std::string& nombre) {
        lblArchivo->setText(QString::fromStdString(nombre));
    };
}

frmAplicacion::~frmAplicacion() {
    Estado_Generacion_Actual().Mostrar_Archivo = nullptr;
    Quitar_Icono_Bandeja();
}

void frmAplicacion::Crear_Controles() {
    picFondo = Con_Nombre(new Fondo_Aplicacion(this), "picFondo");
    lblEncabezado1 =
        Con_Nombre(new Etiqueta_Pulsable(Texto(kEncabezado_Diseno), picFondo), "lblEncabezado1");
    lblCerrar = Con_Nombre(new Etiqueta_Pulsable("X", picFondo), "lblCerrar");
    lblCerrar->setCursor(Qt::PointingHandCursor);
    lblCerrar->setToolTip(Texto("Ocultar"));
    lblUltima = Con_Nombre(new QLabel(Texto("Última Realizada:"), picFondo), "lblUltima");
    lblHora_Ultima = Con_Nombre(new QLabel("00-00-00  00:00 hs.", picFondo), "lblHora_Ultima");
    lblUltima_Exitosa =
        Con_Nombre(new QLabel(Texto("Última Exitosa:"), picFondo), "lblUltima_Exitosa");
    lblHora_Ultima_Exitosa =
        Con_Nombre(new QLabel("00-00-00  00:00 hs.", picFondo), "lblHora_Ultima_Exitosa");
    lblEncabezado2 = Con_Nombre(new QLabel(Texto("Próxima:"), picFondo), "lblEncabezado2");
    lblHora_Siguiente = Con_Nombre(new QLabel("00-00-00 00:00 hs.", picFondo), "lblHora_Siguiente");
    lblStatus = Con_Nombre(new QLabel("Exitosa", picFondo), "lblStatus");
    lblVersion = Con_Nombre(new QLabel("V. 1.2.6", picFondo), "lblVersion");
    lblLog = Con_Nombre(new Etiqueta_Pulsable("Ver Errores de Timbrados", picFondo), "lblLog");
    lblLog->setCursor(Qt::PointingHandCursor);
    lblLog->setStyleSheet("color: #b00020; text-decoration: underline;");
    lblLog->hide();
    lblRechazadas = Con_Nombre(new Etiqueta_Pulsable(QString(), picFondo), "lblRechazadas");
    lblRechazadas->setCursor(Qt::PointingHandCursor);
    lblRechazadas->setToolTip(Texto("Ver las solicitudes rechazadas por motivo"));
    lblRechazadas->setStyleSheet("color: #b00020; text-decoration: underline;");
    lblRechazadas->hide();
    lblArchivo = Con_Nombre(new QLabel(QString(), picFondo), "lblArchivo");
    lblArchivo->hide();
    Crear_Botones();
}

void frmAplicacion::Crear_Botones() {
    cmdSincronizar = Con_Nombre(new QPushButton("Sincronizar", picFondo), "cmdSincronizar");
    cmdConfig = Con_Nombre(new QPushButton(Texto("Configuración"), picFondo), "cmdConfig");
    cmdCancelar = Con_Nombre(new QPushButton("Cancelar", picFondo), "cmdCancelar");
    cmdDesrechazar = Con_Nombre(new QPushButton("DesRechazar", picFondo), "cmdDesrechazar");
    cmdSolicitudes = Con_Nombre(new QPushButton("Solicitudes", picFondo), "cmdSolicitudes");
    for (QPushButton* boton :
         {cmdSincronizar, cmdConfig, cmdCancelar, cmdDesrechazar, cmdSolicitudes})
        boton->setAutoDefault(false);
}

void frmAplicacion::Acomodar_Controles() {
    auto* barra = new QFrame(picFondo);
    barra->setStyleSheet("QFrame { background: #1f3a5f; } QLabel { color: white; }");
    auto* fila_titulo = new QHBoxLayout(barra);
    fila_titulo->setContentsMargins(8, 4, 8, 4);
    fila_titulo->addWidget(lblEncabezado1, 1);
    fila_titulo->addWidget(lblCerrar);

    auto* datos = new QGridLayout;
    datos->setHorizontalSpacing(10);
    datos->addWidget(lblUltima, 0, 0);
    datos->addWidget(lblHora_Ultima, 0, 1);
    datos->addWidget(lblUltima_Exitosa, 1, 0);
    datos->addWidget(lblHora_Ultima_Exitosa, 1, 1);
    datos->addWidget(lblEncabezado2, 2, 0);
    datos->addWidget(lblHora_Siguiente, 2, 1);
    datos->addWidget(lblStatus, 3, 0, 1, 2);
    // The links keep their room while hidden, so the window does not change size with them.
    for (QLabel* enlace : {static_cast<QLabel*>(lblLog), static_cast<QLabel*>(lblRechazadas)}) {
        QSizePolicy politica = enlace->sizePolicy();
        politica.setRetainSizeWhenHidden(true);
        enlace->setSizePolicy(politica);
    }
    datos->addWidget(lblLog, 4, 0, 1, 2);
    datos->addWidget(lblRechazadas, 5, 0, 1, 2);

    auto* botones = new QGridLayout;
    botones->addWidget(cmdSincronizar, 0, 0);
    botones->addWidget(cmdConfig, 0, 1);
    botones->addWidget(cmdCancelar, 1, 0);
    botones->addWidget(cmdDesrechazar, 1, 1);
    botones->addWidget(cmdSolicitudes, 2, 0, 1, 2);

    auto* pie = new QHBoxLayout;
    pie->addWidget(lblArchivo);
    pie->addStretch(1);
    pie->addWidget(lblVersion);

    auto* cuerpo = new QVBoxLayout;
    cuerpo->setContentsMargins(10, 8, 10, 6);
    cuerpo->setSpacing(8);
    cuerpo->addLayout(datos);
    cuerpo->addLayout(botones);
    cuerpo->addLayout(pie);

    auto* fondo = new QVBoxLayout(picFondo);
    fondo->setContentsMargins(1, 1, 1, 1);
    fondo->setSpacing(0);
    fondo->addWidget(barra);
    fondo->addLayout(cuerpo);

    auto* ventana = new QVBoxLayout(this);
    ventana->setContentsMargins(0, 0, 0, 0);
    ventana->addWidget(picFondo);
    ventana->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAplicacion::Conectar_Eventos() {
    connect(tmrTimer, &QTimer::timeout, this, &frmAplicacion::Colocar_Icono_Si_Falta);
    connect(tmrTimer, &QTimer::timeout, this, [this] { ciclo_.tmrTimer_Timer(); });
    connect(tmrMostrar, &QTimer::timeout, this, &frmAplicacion::tmrMostrar_Timer);
    connect(cmdSincronizar, &QPushButton::clicked, this, [this] { ciclo_.cmdSincronizar_Click(); });
    connect(cmdDesrechazar, &QPushButton::clicked, this, [this] { ciclo_.cmdDesrechazar_Click(); });
    connect(cmdConfig, &QPushButton::clicked, this, &frmAplicacion::cmdConfig_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmAplicacion::cmdCancelar_Click);
    connect(lblLog, &Etiqueta_Pulsable::Clic, this, [this] { ciclo_.lblLog_Click(); });
    connect(cmdSolicitudes, &QPushButton::clicked, this, &frmAplicacion::cmdSolicitudes_Click);
    connect(lblRechazadas, &Etiqueta_Pulsable::Clic, this, &frmAplicacion::lblRechazadas_Click);
    connect(lblCerrar, &Etiqueta_Pulsable::Clic, this, &frmAplicacion::lblCerrar_Click);
    connect(lblEncabezado1, &Etiqueta_Pulsable::Doble_Clic, this, &frmAplicacion::Terminar);
    connect(bandeja_, &Icono_Bandeja::Mensaje, this, &frmAplicacion::Evento_Bandeja);
}

bool frmAplicacion::Iniciar() {
    lblVersion->setText(Texto(Version_Programa));
    if (Cargar_Datos_Iniciales() == Resultado_Arranque::Terminar_Programa)
        return false;
    Mostrar_Datos();
    Colocar_En_Esquina();
    Colocar_Icono_Bandeja();
    Poner_Encabezado();
    Revisar_Rechazadas_Al_Arrancar();
    Habilitar_Timer(true);
    hide();
    // A termination asked for while start-up was still running has no event loop to leave yet.
    return !terminado_;
}

void frmAplicacion::Poner_Encabezado() {
    lblEncabezado1->setText(Texto(kEncabezado_Programa));
    QFont titulo = lblEncabezado1->font();
    titulo.setPointSize(8);
    titulo.setBold(true);
    lblEncabezado1->setFont(titulo);
    Poner_Tamano_Letra(lblUltima, 7);
    Poner_Tamano_Letra(lblUltima_Exitosa, 7);
}

void frmAplicacion::Colocar_En_Esquina() {
    adjustSize();
    const QScreen* pantalla = Pantalla_De(this);
    const QRect total = pantalla->geometry();
    const QRect disponible = pantalla->availableGeometry();
    move(total.x() + total.width() - width() - kMargen_Derecho_px,
         disponible.y() + disponible.height() - height() - kMargen_Inferior_px);
}

void frmAplicacion::Colocar_Icono_Bandeja() {
    if (!bandeja_->Colocar(windowIcon()))
        Escribir_Log("No hay área de notificación: el programa sigue sin su ícono.");
}

// A program started with the session may come up before the desktop's notification area: the icon
// is added as soon as the area appears, so that the operator can reach the window.
void frmAplicacion::Colocar_Icono_Si_Falta() {
    if (!terminado_ && !bandeja_->Colocado())
        bandeja_->Colocar(windowIcon());
}

void frmAplicacion::Quitar_Icono_Bandeja() {
    if (bandeja_)
        bandeja_->Quitar();
}

void frmAplicacion::Mostrar_Status(const std::string& texto) {
    lblStatus->setText(QString::fromStdString(texto));
}

void frmAplicacion::Mostrar_Ver_Errores(bool visible) {
    lblLog->setVisible(visible);
}

void frmAplicacion::Mostrar_Rechazadas(long long cuantas) {
    lblRechazadas->setText(cuantas == 1 ? Texto("1 solicitud rechazada")
                                        : Texto("%1 solicitudes rechazadas").arg(cuantas));
    lblRechazadas->setVisible(cuantas > 0);
}

void frmAplicacion::Mostrar_Datos() {
    const Textos_Horas textos = Textos_Mostrar_Datos(Configuracion());
    lblHora_Ultima->setText(QString::fromStdString(textos.Hora_Ultima));
    lblHora_Ultima_Exitosa->setText(QString::fromStdString(textos.Hora_Ultima_Exitosa));
    lblHora_Siguiente->setText(QString::fromStdString(textos.Hora_Siguiente));
}

void frmAplicacion::Procesar_Eventos() {
    QCoreApplication::processEvents();
}

bool frmAplicacion::Ejecutar_Consulta(
    const std::function<void(const Abrir_Central&)>& consulta) {
    return Consultar_Aparte(consulta);
}

void frmAplicacion::Habilitar_Timer(bool habilitado) {
    // Enabling a running timer leaves its count as it is.
    if (!habilitado)
        tmrTimer->stop();
    else if (!tmrTimer->isActive())
        tmrTimer->start();
}

bool frmAplicacion::Timer_Habilitado() const {
    return tmrTimer->isActive();
}

void frmAplicacion::Habilitar_Ocultamiento(bool habilitado) {
    // Until the window has been shown from the icon the auto-hide timer has no interval, and a
    // timer without an interval never ticks.
    if (!habilitado)
        tmrMostrar->stop();
    else if (!tmrMostrar->isActive() && tmrMostrar->interval() > 0)
        tmrMostrar->start();
}

void frmAplicacion::Evento_Bandeja(int mensaje) {
    if (mensaje != kMensaje_Clic_Derecho)
        return;
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    Colocar_En_Esquina();
    Mostrar_Datos();
    show();
    raise();
    Programar_Ocultamiento();
}

void frmAplicacion::Programar_Ocultamiento() {
    tmrMostrar->start(kEspera_Antes_De_Ocultar_ms);
    Ocultando = false;
}

void frmAplicacion::tmrMostrar_Timer() {
    if (!Ocultando) {
        tmrMostrar->setInterval(kPaso_Ocultamiento_ms);
        Ocultando = true;
    }
    if (isMinimized() || isMaximized())
        return;
    move(x(), y() + kDesplazamiento_Paso_px);
    const QRect pantalla = Pantalla_De(this)->geometry();
    if (y() > pantalla.y() + pantalla.height()) {
        tmrMostrar->stop();
        hide();
    }
}

void frmAplicacion::lblCerrar_Click() {
    tmrMostrar->stop();
    hide();
}

void frmAplicacion::cmdConfig_Click() {
    Abrir_Con_Timers_Detenidos(Ventana_Modal::Configuracion_Facturas);
}

void frmAplicacion::cmdCancelar_Click() {
    Abrir_Con_Timers_Detenidos(Ventana_Modal::Cancelar_Factura);
}

// Not modal: the cycles go on while the operator looks for requests.
void frmAplicacion::cmdSolicitudes_Click() {
    Mostrar_Solicitudes(frmSolicitudes::Modo::Todas);
}

void frmAplicacion::lblRechazadas_Click() {
    Mostrar_Solicitudes(frmSolicitudes::Modo::Rechazadas);
}

void frmAplicacion::Abrir_Con_Timers_Detenidos(Ventana_Modal ventana) {
    if (ventana_modal_abierta_)
        return;
    Habilitar_Timer(false);
    Habilitar_Ocultamiento(false);
    ventana_modal_abierta_ = true;
    Abrir_Ventana_Modal(ventana);
    ventana_modal_abierta_ = false;
    Habilitar_Ocultamiento(true);
    // Opened while a cycle waited for its events, the window must not let a second cycle start:
    // the interrupted cycle enables the timer itself when it ends.
    if (!ciclo_.En_Curso())
        Habilitar_Timer(true);
}

void frmAplicacion::Abrir_Ventana_Modal(Ventana_Modal ventana) {
    if (ventana == Ventana_Modal::Configuracion_Facturas)
        Mostrar_Configuracion_Facturas(this);
    else
        Mostrar_Cancelar_Factura(this);
}

void frmAplicacion::Terminar() {
    terminado_ = true;
    Quitar_Icono_Bandeja();
    tmrMostrar->stop();
    tmrTimer->stop();
    // Leaves every event loop, a modal window's included; a cycle interrupted at its event
    // processing point finishes its work before the main loop returns.
    QCoreApplication::exit(0);
}

void frmAplicacion::closeEvent(QCloseEvent* evento) {
    evento->accept();
    Terminar();
}

}  // namespace facturador

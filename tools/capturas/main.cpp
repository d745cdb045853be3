// Takes the pictures of the program's windows shown in the README: the main window, the message
// and confirmation dialogs, the cancellation window, both pages of the configuration window, the
// requests window (all of them, and the rejected ones by reason) and the story of a request.
//
//   capturas <program folder> <pictures folder>
//
// The program folder holds local.dll and Taldo.dll; the central database must hold the demo data
// (scripts/capturas.sh prepares both and runs this under Xvfb).

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>

#include "app/qt/frmAplicacion.h"
#include "app/qt/frmSolicitud.h"
#include "app/qt/frmSolicitudes.h"
#include "cancellation/qt/frmCancelar_Factura.h"
#include "issuing_config/qt/frmConfiguracion_Facturas.h"
#include "platform/Entorno.h"
#include "ui/qt/frmAdvertencia.h"
#include "ui/qt/frmConfirmar_Operacion.h"

using namespace facturador;

namespace {

// Nobody answers while the pictures are taken: messages go to the console and questions get "no".
class Operador_Consola : public Operador {
  public:
    void Mensaje_Estandar(const std::string& texto, const std::string& titulo) override {
        std::fprintf(stderr, "%s: %s\n", titulo.c_str(), texto.c_str());
    }
    void Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) override {
        Mensaje_Estandar(mensaje, titulo);
    }
    bool Pedir_Confirmacion(const std::string& titulo, const std::string& mensaje) override {
        Mensaje_Estandar(mensaje, titulo);
        return false;
    }
    void Configurar_Ruta_BD() override {}
    std::string Elegir_Carpeta(const std::string&) override { return {}; }
    void Abrir_Documento(const std::string&) override {}
};

// Lets the window reach the screen and paint itself.
void Esperar_Pintado() {
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 600) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
}

bool Fotografiar(QWidget* ventana, const QString& carpeta, const QString& nombre) {
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
    Esperar_Pintado();
    const QPixmap foto = ventana->screen()->grabWindow(ventana->winId());
    const QString ruta = QDir(carpeta).filePath(nombre + ".png");
    const bool guardada = foto.save(ruta);
    std::fprintf(stderr, "%s %s\n", guardada ? "guardada" : "NO guardada", qPrintable(ruta));
    return guardada;
}

void Centrar(QWidget* ventana) {
    ventana->adjustSize();
    const QRect pantalla = ventana->screen()->availableGeometry();
    ventana->move(pantalla.center() - ventana->rect().center());
}

bool Fotografiar_Dialogos(const QString& carpeta) {
    frmAdvertencia* advertencia = frmAdvertencia::Instancia();
    advertencia->Preparar(QStringLiteral("Atención"),
                          QStringLiteral("Se almacenó correctamente la configuración para la "
                                         "emisión de Facturas Electrónicas"));
    bool bien = Fotografiar(advertencia, carpeta, "frmAdvertencia");
    advertencia->close();
    frmConfirmar_Operacion* confirmacion = frmConfirmar_Operacion::Instancia();
    confirmacion->Preparar(QStringLiteral("ATENCION"),
                           QStringLiteral("Se cancelará la Factura Serie: A   Folio: 1  Emitido "
                                          "por la sucursal: Los Tulipanes Centro"));
    bien = Fotografiar(confirmacion, carpeta, "frmConfirmar_Operacion") && bien;
    confirmacion->close();
    return bien;
}

bool Fotografiar_Cancelacion(const QString& carpeta) {
    frmCancelar_Factura ventana;
    ventana.findChild<QLineEdit*>("txtSerie")->setText("A");
    ventana.findChild<QLineEdit*>("txtNro")->setText("1");
    ventana.findChild<QLineEdit*>("txtMotivo")
        ->setText(QStringLiteral("Datos del cliente erróneos"));
    Centrar(&ventana);
    return Fotografiar(&ventana, carpeta, "frmCancelar_Factura");
}

bool Fotografiar_Configuracion(const QString& carpeta) {
    frmConfiguracion_Facturas ventana;
    ventana.findChild<QComboBox*>("cboSucursal")->setCurrentIndex(0);
    ventana.lblMenu_MouseMove(0);
    Centrar(&ventana);
    bool bien = Fotografiar(&ventana, carpeta, "frmConfiguracion_Facturas");
    ventana.lblMenu_MouseMove(1);
    ventana.lblMenu_Click(1);
    bien = Fotografiar(&ventana, carpeta, "frmConfiguracion_Facturas_Mensajes") && bien;
    return bien;
}

// Until the window's database work has answered (at most ten seconds).
template <typename Ventana>
void Esperar_Consultas(const Ventana* ventana) {
    QElapsedTimer reloj;
    reloj.start();
    while (ventana->Ocupada() && reloj.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool Fotografiar_Solicitudes(const QString& carpeta) {
    bool bien = true;
    for (const auto& [modo, nombre] :
         {std::pair{frmSolicitudes::Modo::Todas, "frmSolicitudes"},
          std::pair{frmSolicitudes::Modo::Rechazadas, "frmSolicitudes_Rechazadas"}}) {
        frmSolicitudes* ventana = Mostrar_Solicitudes(modo);
        Esperar_Consultas(ventana);
        Centrar(ventana);
        bien = Fotografiar(ventana, carpeta, nombre) && bien;
        ventana->close();
    }
    // The demo's request rejected before it starts.
    frmSolicitud* historia = Mostrar_Historia_Solicitud(106);
    Esperar_Consultas(historia);
    Centrar(historia);
    bien = Fotografiar(historia, carpeta, "frmSolicitud") && bien;
    historia->close();
    return bien;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s CARPETA_PROGRAMA CARPETA_CAPTURAS\n", argv[0]);
        return 2;
    }
    QApplication aplicacion(argc, argv);
    const Reloj_Sistema reloj;
    Operador_Consola operador;
    Entorno_Actual() = Entorno{&reloj, &operador, argv[1]};
    const QString carpeta = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(carpeta);

    frmAplicacion principal;
    if (!principal.Iniciar())
        return 1;
    // No cycle runs and nothing hides while the pictures are taken.
    principal.Habilitar_Timer(false);
    principal.Evento_Bandeja(516);
    principal.Habilitar_Ocultamiento(false);
    // Away from the screen's edge, whole in the picture.
    Centrar(&principal);
    bool bien = Fotografiar(&principal, carpeta, "frmAplicacion");
    principal.hide();
    bien = Fotografiar_Dialogos(carpeta) && bien;
    bien = Fotografiar_Cancelacion(carpeta) && bien;
    bien = Fotografiar_Configuracion(carpeta) && bien;
    bien = Fotografiar_Solicitudes(carpeta) && bien;
    principal.Quitar_Icono_Bandeja();
    return bien ? 0 : 1;
}

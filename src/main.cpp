#include <QApplication>

#include <cstdlib>
#include <memory>

#include "app/Aviso_Servicio.h"
#include "app/Ordenes.h"
#include "app/Servicio.h"
#include "app/Turno_Trabajo.h"
#include "app/qt/Aviso_Terminacion.h"
#include "app/qt/frmAplicacion.h"
#include "data/Log.h"
#include "data/qt/frmConfigurar_Ruta_BD.h"
#include "platform/Carpeta_Runtime.h"
#include "platform/Gestor_Systemd.h"
#include "platform/Instancia_Unica.h"
#include "platform/Operador_Sin_Pantalla.h"
#include "ui/qt/Operador_Qt.h"
#include "ui/qt/Traducciones_Qt.h"

using namespace facturador;

namespace {

frmAplicacion* g_ventana = nullptr;

// The database location dialog, owned by the main window while it is on screen. Its "X" ends the
// program at once: start-up must not go on with databases the operator gave up on.
void Configurar_Ruta_BD() {
    QWidget* propietario = g_ventana && g_ventana->isVisible() ? g_ventana : nullptr;
    if (!Mostrar_Configurar_Ruta_BD(propietario))
        return;
    if (g_ventana)
        g_ventana->Quitar_Icono_Bandeja();
    std::exit(0);
}

// Qt's offscreen platform where no window can be shown: without it Qt ends the program when it
// finds no display. A platform the user chose is kept.
void Elegir_Plataforma() {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// The program with its windows: one copy per program folder, its cycles driven by the main
// window's timer.
int Correr_Programa(const Operador_Qt& operador) {
    const Aviso_Terminacion aviso;
    const Instancia_Unica instancia(Archivo_Candado_de_Carpeta(Carpeta_Programa()));
    if (const auto falla = Falla_Instancia(instancia))
        return *falla;
    frmAplicacion ventana;
    g_ventana = &ventana;
    QObject::connect(&aviso, &Aviso_Terminacion::Terminacion_Pedida, &ventana,
                     &frmAplicacion::Terminar);
    // Start-up that needed the database location from nobody ends with a failure, so that a
    // service manager sees it and tries again.
    // A clean end frees the lease at once: another copy takes over without waiting for it.
    if (!ventana.Iniciar()) {
        Soltar_Turno_de_Trabajo();
        return operador.Ruta_BD_Sin_Respuesta() ? 1 : 0;
    }
    Avisar_Servicio_Listo();
    const int codigo = QApplication::exec();
    Avisar_Servicio_Terminando();
    Soltar_Turno_de_Trabajo();
    g_ventana = nullptr;
    return codigo;
}

// --sin-ventanas and the orders that only print, as the program built without windows runs them.
int Correr_Sin_Pantalla(const Linea_Comandos& linea, const Reloj& reloj, Gestor_Servicio& gestor) {
    Operador_Sin_Pantalla operador(Escribir_Aviso);
    Fijar_Entorno(linea, reloj, operador, gestor);
    if (const auto codigo = Correr_Orden(linea))
        return *codigo;
    return Correr_Sin_Ventanas();
}

}  // namespace

int main(int argc, char** argv) {
    // Only the program itself starts a window system: a GUI application looks for a display
    // server in the user's runtime folder, which root (sudo, su) has none of, or another user's.
    const bool ventanas = Pide_Ventanas(argc, argv);
    if (ventanas)
        Elegir_Plataforma();
    Asegurar_Carpeta_Runtime();
    std::unique_ptr<QCoreApplication> aplicacion;
    if (ventanas) {
        aplicacion = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        Cargar_Traducciones_Qt(*aplicacion);
    } else {
        aplicacion = std::make_unique<QCoreApplication>(argc, argv);
    }

    const Linea_Comandos linea = Leer_Linea_Comandos({argv, argv + argc});
    if (const auto codigo = Responder_Linea(linea))
        return *codigo;
    const Reloj_Sistema reloj;
    Gestor_Systemd gestor;
    if (!ventanas)
        return Correr_Sin_Pantalla(linea, reloj, gestor);
    Operador_Qt operador(Configurar_Ruta_BD, Operador_Qt::Pantalla::Segun_Plataforma,
                         Escribir_Aviso);
    Fijar_Entorno(linea, reloj, operador, gestor);
    if (const auto codigo = Correr_Orden(linea))
        return *codigo;
    return Correr_Programa(operador);
}

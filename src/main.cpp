#include <QApplication>
#include <QStandardPaths>

#include <cstdlib>
#include <iostream>

#include "app/qt/Aviso_Terminacion.h"
#include "app/qt/frmAplicacion.h"
#include "data/Log.h"
#include "data/qt/frmConfigurar_Ruta_BD.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Instancia_Unica.h"
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

// The lock file in the user's runtime folder (XDG_RUNTIME_DIR), private to the user: in a shared
// folder another user could create it first and keep every copy from starting.
std::string Archivo_Candado() {
    const QString carpeta = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return carpeta.isEmpty() ? std::string() : Unir_Ruta(carpeta.toStdString(), "facturador.lock");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication aplicacion(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    Cargar_Traducciones_Qt(aplicacion);
    const Aviso_Terminacion aviso;

    const Reloj_Sistema reloj;
    // Without a display, what the operator would be shown goes to the daily log and standard error.
    Operador_Qt operador(Configurar_Ruta_BD, Operador_Qt::Pantalla::Segun_Plataforma,
                         Escribir_Aviso);
    Entorno_Actual() = Entorno{&reloj, &operador, Carpeta_Del_Ejecutable()};

    // Before any database or icon: a second copy leaves quietly; a lock that cannot be taken at
    // all is told, and the program does not run unguarded.
    const Instancia_Unica instancia(Archivo_Candado());
    if (instancia.Resultado() == Instancia_Unica::Estado::Otra_Copia)
        return 0;
    if (!instancia.Es_Unica()) {
        std::cerr << instancia.Falla() << std::endl;
        Escribir_Log(instancia.Falla());
        return 1;
    }

    frmAplicacion ventana;
    g_ventana = &ventana;
    QObject::connect(&aviso, &Aviso_Terminacion::Terminacion_Pedida, &ventana,
                     &frmAplicacion::Terminar);
    // Start-up that needed the database location from nobody ends with a failure, so that a
    // service manager sees it and tries again.
    if (!ventana.Iniciar())
        return operador.Ruta_BD_Sin_Respuesta() ? 1 : 0;
    const int codigo = QApplication::exec();
    g_ventana = nullptr;
    return codigo;
}

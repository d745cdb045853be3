#include <QApplication>

#include <cstdlib>
#include <iostream>

#include "app/Salida_Salud.h"
#include "app/Turno_Trabajo.h"
#include "app/qt/Aviso_Terminacion.h"
#include "app/qt/Linea_Comandos.h"
#include "app/qt/frmAplicacion.h"
#include "data/Log.h"
#include "data/qt/frmConfigurar_Ruta_BD.h"
#include "generation/Reencolado.h"
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

// Qt's offscreen platform where no window may or can be shown: without it Qt ends the program
// when it finds no display. A platform the user chose is kept, except for the orders that never
// open a window.
void Elegir_Plataforma(int argc, char** argv) {
    const bool sin_pantalla = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
                              !std::getenv("QT_QPA_PLATFORM");
    if (sin_pantalla || Pide_Sin_Pantalla(argc, argv))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

int Reencolar(int32_t id_solicitud) {
    const Resultado_Reencolado resultado = Reencolar_Solicitud(id_solicitud);
    (resultado.Hecho ? std::cout : std::cerr) << resultado.Mensaje << std::endl;
    return resultado.Hecho ? 0 : 1;
}

int Informar_Estado(bool json) {
    const Informe_Salud informe = Evaluar_Salud();
    std::cout << (json ? Salud_En_JSON(informe) : Salud_En_Texto(informe)) << std::flush;
    return Codigo_Salida(informe.Estado);
}

// The program itself: one copy per program folder, its cycles driven by the main window's timer.
int Correr_Programa(const Linea_Comandos& linea, Operador_Qt& operador) {
    const Aviso_Terminacion aviso;
    // Before any database or icon: a second copy on the same folder says so and ends with a
    // failure (the folder's log belongs to the running copy); a lock that cannot be taken at all
    // is told, and the program does not run unguarded.
    const Instancia_Unica instancia(Archivo_Candado_de_Carpeta(Carpeta_Programa()));
    if (instancia.Resultado() == Instancia_Unica::Estado::Otra_Copia) {
        std::cerr << "facturador: otra copia del programa ya corre con la carpeta "
                  << Carpeta_Programa() << "; esta copia termina." << std::endl;
        return 1;
    }
    if (!instancia.Es_Unica()) {
        std::cerr << instancia.Falla() << std::endl;
        Escribir_Log(instancia.Falla());
        return 1;
    }
    frmAplicacion ventana;
    g_ventana = &ventana;
    if (linea.sin_ventanas)
        ventana.Correr_Sin_Ventanas();
    QObject::connect(&aviso, &Aviso_Terminacion::Terminacion_Pedida, &ventana,
                     &frmAplicacion::Terminar);
    // Start-up that needed the database location from nobody ends with a failure, so that a
    // service manager sees it and tries again.
    // A clean end frees the lease at once: another copy takes over without waiting for it.
    if (!ventana.Iniciar()) {
        Soltar_Turno_de_Trabajo();
        return operador.Ruta_BD_Sin_Respuesta() ? 1 : 0;
    }
    const int codigo = QApplication::exec();
    Soltar_Turno_de_Trabajo();
    g_ventana = nullptr;
    return codigo;
}

}  // namespace

int main(int argc, char** argv) {
    Elegir_Plataforma(argc, argv);
    QApplication aplicacion(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    Cargar_Traducciones_Qt(aplicacion);

    const Linea_Comandos linea = Leer_Linea_Comandos(QApplication::arguments());
    if (!linea.error.empty()) {
        std::cerr << "facturador: " << linea.error << "\nVea las opciones con: facturador --help"
                  << std::endl;
        return kSalida_Uso_Incorrecto;
    }
    if (linea.orden == Linea_Comandos::Orden::Ayuda) {
        std::cout << linea.ayuda;
        return 0;
    }
    if (linea.orden == Linea_Comandos::Orden::Version) {
        std::cout << "Facturador " << Version_Programa << std::endl;
        return 0;
    }

    const Reloj_Sistema reloj;
    // Without a display, what the operator would be shown goes to the daily log and standard error.
    const auto pantalla = linea.sin_ventanas || linea.orden != Linea_Comandos::Orden::Programa
                              ? Operador_Qt::Pantalla::Ausente
                              : Operador_Qt::Pantalla::Segun_Plataforma;
    Operador_Qt operador(Configurar_Ruta_BD, pantalla, Escribir_Aviso);
    Entorno_Actual() = Entorno{&reloj, &operador,
                               linea.carpeta.empty() ? Carpeta_Del_Ejecutable() : linea.carpeta};

    if (linea.orden == Linea_Comandos::Orden::Estado)
        return Informar_Estado(linea.json);
    if (linea.orden == Linea_Comandos::Orden::Reencolar)
        return Reencolar(linea.id_solicitud);
    return Correr_Programa(linea, operador);
}

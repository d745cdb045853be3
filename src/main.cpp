#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>

#include "app/Aviso_Servicio.h"
#include "app/Salida_Salud.h"
#include "app/Turno_Trabajo.h"
#include "app/qt/Aviso_Terminacion.h"
#include "app/qt/Linea_Comandos.h"
#include "app/qt/frmAplicacion.h"
#include "data/Log.h"
#include "data/qt/frmConfigurar_Ruta_BD.h"
#include "generation/Reencolado.h"
#include "issuing_config/Guardar_Configuracion.h"
#include "platform/Archivos.h"
#include "platform/Carpeta_Runtime.h"
#include "platform/Credenciales_Central.h"
#include "platform/Cuenta_Carpeta.h"
#include "platform/Cuentas_Centrales.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Gestor_Systemd.h"
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

int Mostrar_Informe(const Informe_Salud& informe, bool json) {
    std::cout << (json ? Salud_En_JSON(informe) : Salud_En_Texto(informe)) << std::flush;
    return Codigo_Salida(informe.Estado);
}

int Informar_Estado(bool json) {
    return Mostrar_Informe(Evaluar_Salud(), json);
}

int Guardar_Carpetas(const Linea_Comandos& linea) {
    Datos_Emision carpetas;
    carpetas.ID_Sucursal = linea.id_sucursal;
    carpetas.Ruta_Cola_Facturas = linea.carpetas_sucursal[0];
    carpetas.Ruta_Facturas_Validas = linea.carpetas_sucursal[1];
    carpetas.Ruta_Facturas_NO_Validas = linea.carpetas_sucursal[2];
    const Resultado_Carpetas resultado = Guardar_Carpetas_Sucursal(carpetas);
    (resultado.Hecho ? std::cout : std::cerr) << resultado.Mensaje << std::endl;
    return resultado.Hecho ? 0 : 1;
}

// The installation's own central account for the order (the service's, the console's or
// monitoring's), when it has one. A file that cannot be trusted stops
// the program (telling the operator, or the daily log without a display) and every order (as a
// monitoring plugin's unknown for --estado): the built-in account would fail where the
// administrator replaced it, or work where they meant it not to.
std::optional<int> Cargar_Credenciales(const Linea_Comandos& linea, Operador& operador) {
    try {
        Cuenta_Vigente() = linea.cuenta;
        Credenciales_Vigentes() = Leer_Credenciales_Central(Archivo_Credenciales_de(linea.cuenta));
        return std::nullopt;
    } catch (const Error_Plataforma& e) {
        if (linea.orden == Linea_Comandos::Orden::Estado) {
            Informe_Salud informe;
            informe.Estado = Estado_Salud::Desconocido;
            informe.Ahora = Ahora();
            informe.Motivos = {e.what()};
            return Mostrar_Informe(informe, linea.json);
        }
        if (linea.orden == Linea_Comandos::Orden::Programa)
            operador.Mostrar_Advertencia("Se produjo un error", e.what());
        else
            std::cerr << e.what() << std::endl;
        return 1;
    }
}

// Run by root, every order that writes in the program folder (the program itself, --reencolar,
// --carpetas-sucursal) works as the folder's owner, or not at all. --estado only reads, and stays
// root's where root runs it.
std::optional<int> Tomar_Cuenta(const Linea_Comandos& linea) {
    if (linea.orden == Linea_Comandos::Orden::Estado)
        return std::nullopt;
    const auto falla = Tomar_Cuenta_de_Carpeta(Carpeta_Programa());
    if (!falla)
        return std::nullopt;
    std::cerr << "facturador: " << *falla << "." << std::endl;
    return 1;
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
    Avisar_Servicio_Listo();
    const int codigo = QApplication::exec();
    Avisar_Servicio_Terminando();
    Soltar_Turno_de_Trabajo();
    g_ventana = nullptr;
    return codigo;
}

}  // namespace

int main(int argc, char** argv) {
    Elegir_Plataforma(argc, argv);
    Asegurar_Carpeta_Runtime();
    // The orders that only print start no window system: a GUI application looks for a display
    // server in the user's runtime folder, which root (sudo, su) has none of, or another user's.
    std::unique_ptr<QCoreApplication> aplicacion;
    if (Solo_Consola(argc, argv)) {
        aplicacion = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        aplicacion = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    Cargar_Traducciones_Qt(*aplicacion);

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
    Gestor_Systemd gestor;
    // Without a display, what the operator would be shown goes to the daily log and standard error.
    const auto pantalla = linea.sin_ventanas || linea.orden != Linea_Comandos::Orden::Programa
                              ? Operador_Qt::Pantalla::Ausente
                              : Operador_Qt::Pantalla::Segun_Plataforma;
    Operador_Qt operador(Configurar_Ruta_BD, pantalla, Escribir_Aviso);
    Entorno_Actual() = Entorno{&reloj, &operador,
                               linea.carpeta.empty() ? Carpeta_Del_Ejecutable() : linea.carpeta};
    Entorno_Actual().servicio = &gestor;

    if (const auto falla = Tomar_Cuenta(linea))
        return *falla;
    if (const auto falla = Cargar_Credenciales(linea, operador))
        return *falla;
    if (linea.orden == Linea_Comandos::Orden::Estado)
        return Informar_Estado(linea.json);
    if (linea.orden == Linea_Comandos::Orden::Reencolar)
        return Reencolar(linea.id_solicitud);
    if (linea.orden == Linea_Comandos::Orden::Carpetas_Sucursal)
        return Guardar_Carpetas(linea);
    return Correr_Programa(linea, operador);
}

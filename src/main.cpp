#include <QApplication>

#include <cstdlib>

#include "app/qt/Aviso_Terminacion.h"
#include "app/qt/frmAplicacion.h"
#include "data/qt/frmConfigurar_Ruta_BD.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Instancia_Unica.h"
#include "ui/qt/Operador_Qt.h"

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

}  // namespace

int main(int argc, char** argv) {
    // Before anything else: a second copy leaves without opening a database or adding an icon.
    const Instancia_Unica instancia;
    if (!instancia.Es_Unica())
        return 0;

    QApplication aplicacion(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const Aviso_Terminacion aviso;

    const Reloj_Sistema reloj;
    Operador_Qt operador(Configurar_Ruta_BD);
    Entorno_Actual() = Entorno{&reloj, &operador, Carpeta_Del_Ejecutable()};

    frmAplicacion ventana;
    g_ventana = &ventana;
    QObject::connect(&aviso, &Aviso_Terminacion::Terminacion_Pedida, &ventana,
                     &frmAplicacion::Terminar);
    if (!ventana.Iniciar())
        return 0;
    const int codigo = QApplication::exec();
    g_ventana = nullptr;
    return codigo;
}

// The program built without windows, for servers: the service and every order of the command
// line, with neither Qt's GUI nor its widgets (nor the window system's libraries they bring).
// Without --sin-ventanas it runs as with it.

#include <QCoreApplication>

#include "app/Ordenes.h"
#include "app/Servicio.h"
#include "data/Log.h"
#include "platform/Carpeta_Runtime.h"
#include "platform/Gestor_Systemd.h"
#include "platform/Operador_Sin_Pantalla.h"

using namespace facturador;

int main(int argc, char** argv) {
    Asegurar_Carpeta_Runtime();
    const QCoreApplication aplicacion(argc, argv);
    const Linea_Comandos linea = Leer_Linea_Comandos({argv, argv + argc});
    if (const auto codigo = Responder_Linea(linea))
        return *codigo;
    const Reloj_Sistema reloj;
    Gestor_Systemd gestor;
    Operador_Sin_Pantalla operador(Escribir_Aviso);
    Fijar_Entorno(linea, reloj, operador, gestor);
    if (const auto codigo = Correr_Orden(linea))
        return *codigo;
    return Correr_Sin_Ventanas();
}

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Cuentas_Centrales.h"

namespace facturador {

// Exit status of a command line the program cannot use (sysexits' EX_USAGE); monitoring reads any
// status above 3 as unknown.
inline constexpr int kSalida_Uso_Incorrecto = 64;

// What the command line asks for.
struct Linea_Comandos {
    enum class Orden { Programa, Ayuda, Version, Estado, Reencolar, Carpetas_Sucursal };

    Orden orden = Orden::Programa;
    bool sin_ventanas = false;
    bool json = false;  // --estado as one JSON object
    // The program folder, absolute and without a trailing separator: --carpeta, else the
    // FACTURADOR_CARPETA of the environment, else the package's /var/lib/facturador for the
    // installed executable; empty for the executable's own folder.
    std::string carpeta;
    // The central account whose credentials file the order reads: --cuenta, else monitoring's for
    // --estado and the service's for everything else.
    Cuenta_Central cuenta = Cuenta_Central::Servicio;
    int32_t id_solicitud = 0;  // --reencolar
    // --carpetas-sucursal ID COLA VALIDAS NO_VALIDAS: absolute, without a trailing separator.
    int32_t id_sucursal = 0;
    std::vector<std::string> carpetas_sucursal;
    std::string error;  // why the line cannot be used (in Spanish), or empty
    std::string ayuda;  // the text of --help
};

// Reads the program's arguments (the first is the program itself) and the environment's
// FACTURADOR_CARPETA. Nothing is printed: the caller shows the help, the version or the error.
Linea_Comandos Leer_Linea_Comandos(const std::vector<std::string>& argumentos);

// True when the raw arguments ask for the program with its windows (--carpeta and --cuenta
// aside): neither --sin-ventanas nor an order that only prints (or a line that is refused), which
// need no window system at all.
bool Pide_Ventanas(int argc, char** argv);

}  // namespace facturador

#pragma once

#include <optional>

#include "app/Linea_Comandos.h"
#include "platform/Entorno.h"

namespace facturador {

// What the command line settles before anything is set up: an unusable line (64, with the
// reason on standard error), --help and --version. Nothing when there is more to do.
std::optional<int> Responder_Linea(const Linea_Comandos& linea);

// The program's links to the outside world, with the program folder the line chose (or the
// executable's own).
void Fijar_Entorno(const Linea_Comandos& linea, const Reloj& reloj, Operador& operador,
                   Gestor_Servicio& servicio);

// Root's switch to the program folder's owner, the installation's central account, then the orders that only print: --estado, --reencolar,
// --carpetas-sucursal. Answers their exit status, or the one of a credentials file that cannot be
// trusted (which stops the program too); nothing when the program itself must run.
std::optional<int> Correr_Orden(const Linea_Comandos& linea);

}  // namespace facturador

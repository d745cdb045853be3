#pragma once

#include <string>

namespace facturador {

// What the service manager is told (nothing when the program was not started by one): ready once
// start-up is over; after each cycle that ends, alive, with a short status line. Nothing is ever
// told from a timer: a cycle that hangs (a database that stops answering) stops the watchdog's
// messages, and the manager restarts the program.
void Avisar_Servicio_Listo();
void Avisar_Ciclo_al_Servicio(bool exitoso);
void Avisar_Servicio_Terminando();

// "Pendientes: <n>; en timbrado: <m>. Último ciclo: hh:mm:ss, sin errores." (or "con errores"),
// the requests in status 1 and 2 as the last cycle that read them found them.
std::string Status_Servicio(bool exitoso);

}  // namespace facturador

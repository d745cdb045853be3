#pragma once

#include <string>

namespace facturador {

// How a cycle ended, for the status line.
enum class Fin_Ciclo { Sin_Errores, Con_Errores, Sin_Servidor };

// What the service manager is told (nothing when the program was not started by one): ready once
// start-up is over; alive after each step of a cycle, each request a pass settles and each
// request a scan looks at; after each cycle, alive with a short status line. Nothing is ever told
// from a timer: every wait on the central database gives up by itself (a connection after 5 s, a
// statement after 75 s), so a database that stops answering ends cycles "sin conexión" and the
// program is never restarted for it; only something without a limit of its own (a folder on a
// share that stopped answering, a fault of the program) keeps the program silent until the
// manager's watchdog restarts it.
void Avisar_Servicio_Listo();
void Avisar_Progreso_al_Servicio();
void Avisar_Ciclo_al_Servicio(Fin_Ciclo fin);
void Avisar_Servicio_Terminando();

// "Pendientes: <n>; en timbrado: <m>. Último ciclo: hh:mm:ss, sin errores." (or "con errores",
// or "sin conexión con la base de datos central"), the requests in status 1 and 2 as the last
// cycle that read them found them.
std::string Status_Servicio(Fin_Ciclo fin);

}  // namespace facturador

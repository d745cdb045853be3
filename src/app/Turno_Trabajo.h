#pragma once

namespace facturador {

inline constexpr const char* kLinea_Otra_Copia_Trabaja =
    "Otra copia del programa trabaja con la base de datos central; esta copia no genera, no recibe "
    "comprobantes ni reactiva solicitudes mientras tanto.";
inline constexpr const char* kLinea_Turno_Tomado =
    "Esta copia del programa toma el trabajo con la base de datos central.";

// One worker per central database: only the copy of the program that holds the database-wide
// worker lock generates files to stamp, takes in results and reactivates requests. Two copies
// pointed at the same database (another user, another machine) would otherwise load the same
// pending requests and issue them twice. Answers whether this copy holds the lock now, taking it
// when it is free (also again after a lost connection released it); a change either way is
// written to the daily log once, and an unreachable server goes to the failure log.
bool Tiene_Turno_de_Trabajo();

}  // namespace facturador

#pragma once

#include <cstddef>
#include <memory>

#include "platform/Cadena_Conexion.h"
#include "platform/Motor_MariaDB.h"

namespace facturador {

// Physical connections to the central server, kept between one Abrir and the next the way an ODBC
// driver manager pools them: the program opens and closes a connection for every operation, and
// only the first open of each kind pays for a new physical connection.
// The program has a single thread, so the pool takes no locks.

// An idle connection with the same parameters, reset so that it behaves as a new one, or a new
// physical connection. Idle connections that no longer work (server restarted) are discarded.
std::unique_ptr<Motor_MariaDB> Tomar_Conexion_Central(const Parametros_Central& parametros);
// Takes back a connection the program has finished with: a transaction left open is rolled back
// first, so an idle connection holds no row lock. A connection that fails is closed instead.
void Devolver_Conexion_Central(std::unique_ptr<Motor_MariaDB> motor) noexcept;

struct Estadisticas_Pool_Central {
    long Conexiones_Fisicas = 0;  // physical connections opened
    long Reutilizaciones = 0;     // opens served by an idle connection
    long Descartadas = 0;         // idle connections found dead and replaced
    long Reinicios_Fallidos = 0;  // resets that met a dead or silent server (each may wait 75 s)
    size_t Inactivas = 0;         // idle connections held now
};

Estadisticas_Pool_Central Estadisticas_Pool();
// Closes every idle connection; the counters stay.
void Vaciar_Pool_Central();

}  // namespace facturador

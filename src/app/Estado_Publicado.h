#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "intake/Observaciones_Recepcion.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// The file, in the program folder, where the running program publishes at the end of every cycle
// what the health report (--estado) needs and the central database does not hold.
inline constexpr const char* kArchivo_Estado = "Estado_Facturador.txt";

// A request in one status: (1 or 2, ID). A request that changes status starts waiting anew.
using Clave_Espera = std::pair<int, int32_t>;

// What the running program keeps about the requests while they wait, across restarts.
struct Seguimiento_Solicitudes {
    // End of the last cycle that reached the central database and went through without failure.
    std::optional<Fecha_Hora> Ultimo_Ciclo_Exitoso;
    // End of the last cycle, whatever it met; at start-up, the start.
    std::optional<Fecha_Hora> Ultimo_Ciclo;
    // When every request in status 1 and 2 was last looked at: one found in either status that is
    // not among Vistas got there after this moment.
    std::optional<Fecha_Hora> Revision;
    // When the program first saw each request in status 1 or 2.
    std::map<Clave_Espera, Fecha_Hora> Vistas;
    // Requests in status 1 without RFC already written to the daily log.
    std::set<int32_t> Sin_RFC_Avisadas;
};

struct Estado_Publicado {
    Seguimiento_Solicitudes Seguimiento;
    Observaciones_Recepcion Observaciones;
};

// The file's text: UTF-8, one record a line, fields separated by tabs, times as
// "yyyy-mm-ddThh:mm:ss" (local time):
//   Facturador estado 1
//   ultimo_ciclo_exitoso <time>
//   ultimo_ciclo <time>
//   revision <time>
//   vista <status> <ID> <time first seen>
//   sin_rfc <ID>
//   atascada|discrepancia|no_almacenable <ID> <branch> <ticket> <series> <folio> <since> <detail>
std::string Texto_Estado_Publicado(const Estado_Publicado& estado);
// Lines it does not understand are skipped: a file of another version gives what it can.
Estado_Publicado Leer_Estado_Publicado(std::string_view texto);

// Replaces the program folder's file at once: a reader finds the old state or the new one.
void Escribir_Estado_Publicado(const Estado_Publicado& estado);
// The program folder's file; a missing or unreadable one gives an empty state.
Estado_Publicado Cargar_Estado_Publicado();

}  // namespace facturador

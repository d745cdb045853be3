#pragma once

#include <string>

#include "data/Configuracion.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// A date or time value as a database gives it ("2026-12-05", "10:15:40", "05/12/2026 10:15",
// ...) turned into "dd/mm/yyyy" or "Hh:Nn". Null/empty gives the empty text; a value that is no
// date is kept as it came.
std::string Fecha_Como_Texto(const std::string& valor);
std::string Hora_Como_Texto(const std::string& valor);

// Reads the times of the newest run and of the newest successful run from the run history and
// works out the run times shown on the main window. A history that cannot be read is written to
// the daily log and leaves the run times at their defaults.
void Cargar_Horarios_Sincronizacion();

// The run times from the times read (cfg.Hora_Ultima, cfg.Hora_Ultima_Exitosa) and today's date:
// both last-run dates are today, a missing successful time is "08:01", the next run is the last
// run plus 10 seconds, and a last-run date before 01/06/2014 is shown as "01/06/2014".
void Calcular_Horarios(Configuracion_Programa& cfg, const Fecha_Hora& ahora);

}  // namespace facturador

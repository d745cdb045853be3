#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Fecha_Hora.h"

namespace facturador {

// The daily-log lines that name one request ("Solicitud ID: 101 - …", "Error en solicitud: 101 -
// …"), for the story window: those of the worker's program folder (the service's, readable by the
// group facturador) and of the console's own.
struct Lineas_Bitacora {
    std::vector<std::string> Lineas;  // "dd/mm/yyyy hh:mm  <mensaje>", oldest first
    std::string Alcance;              // which days were read
    std::vector<std::string> Avisos;  // a folder or log that could not be read, and why
};

// The lines of the daily logs of `carpetas` dated from `desde` on. At most kBitacoras_Leidas logs
// per folder are read: the first and the last days after `desde`, where a request's lines are.
inline constexpr size_t kBitacoras_Leidas = 120;
// A day's log holds a few megabytes at most; of a larger one, its beginning is read.
inline constexpr size_t kMaximo_Bitacora = size_t{32} << 20;
Lineas_Bitacora Lineas_de_Solicitud(const std::vector<std::string>& carpetas, int32_t id,
                                    const Fecha_Hora& desde);

// True when the log line names request `id`.
bool Linea_Nombra_Solicitud(std::string_view linea, int32_t id);

}  // namespace facturador

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Fecha_Hora.h"

namespace facturador {

// Days a daily log is kept when the local configuration does not say otherwise.
inline constexpr int kDias_Conservar_Log = 365;

// The date a daily log's file name carries: exactly "log_dd_mm_yyyy.txt" with a real calendar
// date; nothing for any other name.
std::optional<Fecha_Hora> Fecha_de_Log(std::string_view nombre);
// Removes from the program folder the daily logs dated more than `dias` days before today, and
// nothing else: only plain files whose name is a daily log's. Answers how many went. A folder
// that cannot be read is an Error_Plataforma; a file that cannot be removed stays.
int Podar_Logs(int dias);
// The setting as the local Configuracion table holds it: a whole number of days, at least 1;
// anything else (Null, empty, zero, text) gives kDias_Conservar_Log.
int Leer_Dias_Conservar_Log(const std::string& valor);

}  // namespace facturador

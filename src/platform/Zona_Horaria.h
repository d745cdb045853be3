#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Fecha_Hora.h"

namespace facturador {

// A moment in time: seconds since 1970-01-01T00:00:00 UTC.
using Instante = long long;

// True when the system's time-zone database (Debian's tzdata) has the zone `zona`, an IANA name
// such as "America/Tijuana". Only names written as tzdata writes them (letters, digits, "_", "-",
// "+" and "/" between parts) are looked up, so no text reaches the database's folder as a path.
bool Es_Zona_Conocida(std::string_view zona);

// The date and time the clocks of `zona` show at `instante`, by the offsets and daylight-saving
// rules of the system's tzdata. std::invalid_argument for a zone Es_Zona_Conocida refuses.
Fecha_Hora Hora_Local(Instante instante, std::string_view zona);

// The instant at which the clocks of `zona` show `local` (a time that a change of the zone's clocks
// skips or repeats, as Qt's QDateTime settles it). std::invalid_argument as Hora_Local.
Instante Instante_Local(const Fecha_Hora& local, std::string_view zona);

// The difference of `zona`'s clocks to UTC at `instante`, in seconds (-21600 for UTC-6).
// std::invalid_argument as Hora_Local.
long long Diferencia_UTC_Zona(std::string_view zona, Instante instante);

// The instants from `desde` to `hasta` at which the clocks of `zona` change.
std::vector<Instante> Cambios_de_Hora(std::string_view zona, Instante desde, Instante hasta);

// The IANA name of the zone the machine keeps its local time in ("Etc/UTC", "America/Mexico_City").
std::string Zona_del_Sistema();

}  // namespace facturador

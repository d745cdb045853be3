#pragma once

#include <string>

#include "issuing_config/Hora_Lugar.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// The tax authority accepts an invoice dated at most 72 hours before it is stamped.
inline constexpr long long kAtraso_Maximo = 72 * 3600;
// A back-dated invoice keeps at least this much of the 72 hours when its file is written: the
// stamping program picks the file up later, in its own time, and the provider counts the 72 hours
// to the moment it stamps, on a clock that need not agree with this machine's to the second.
inline constexpr long long kMargen_Atraso = 3600;

// The "Fecha=" of the file to stamp at the instant `ahora`, "yyyy-mm-ddTHH:MM:SS" in the local time
// of the place whose reckonings are `relojes`. A request dated less than three days back (or in
// the future) is dated now, no later than now in either reckoning (Hora_Temprana). An older one is
// back-dated: a request three days old keeps its own date at 23:59:50 and an older one is dated
// three days back at 23:59:50, counting calendar days of the local date, while that leaves more
// than kMargen_Atraso of the 72 hours in either reckoning; otherwise it is dated at the instant
// 72 hours less the margin back (Hora_Tardia). Counted on instants, neither midnight nor a change
// of the clocks can push a date past the limit.
std::string Fecha_para_Timbrar(const Fecha_Hora& fecha_solicitud, const Relojes_Lugar& relojes,
                               Instante ahora);

}  // namespace facturador

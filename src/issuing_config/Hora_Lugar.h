#pragma once

#include <optional>
#include <string>

#include "issuing_config/Codigos_Postales.h"
#include "platform/Fecha_Hora.h"
#include "platform/Zona_Horaria.h"

namespace facturador {

// The two reckonings of a place's local time: the legal one, an IANA zone whose offsets and
// daylight-saving rules tzdata gives, and the one of its row in the catalogue c_CodigoPostal, its
// own UTC differences and change dates, which the stamping providers check an invoice's Fecha
// against. They agree but for a few hundred postal codes (the catalogue keeps Ciudad Juárez's
// summer and winter the wrong way round, and Ojinaga without daylight-saving time). Either may be
// missing; with neither, the machine's zone stands in.
struct Relojes_Lugar {
    std::string Zona;                   // empty: none
    std::optional<Huso_Catalogo> Huso;  // none: none

    bool operator==(const Relojes_Lugar&) const = default;
};

// The local time of the instant `ahora` that is no later than `ahora` whichever reckoning reads
// it: the earlier of the two local times, kept out of an hour that a change of the clocks repeats
// when its later reading would be in the future. The date an invoice written now carries.
Fecha_Hora Hora_Temprana(const Relojes_Lugar& relojes, Instante ahora);

// The earliest local time that is no earlier than `limite` whichever reckoning reads it: the later
// of the two local times of `limite`, moved as Hora_Temprana is.
Fecha_Hora Hora_Tardia(const Relojes_Lugar& relojes, Instante limite);

// The earliest instant that the local time `pared` can denote in either reckoning: in an hour a
// change repeats, its first occurrence; in an hour a change skips, the earlier of its readings by
// the offsets on either side of the change.
Instante Primer_Instante(const Relojes_Lugar& relojes, const Fecha_Hora& pared);

// Whether the two reckonings show different local times at some moment from `desde` to `hasta`;
// false when one of them is missing.
bool Relojes_Difieren(const Relojes_Lugar& relojes, Instante desde, Instante hasta);

}  // namespace facturador

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace facturador {

// A calendar date and time of day, second precision, in local time.
struct Fecha_Hora {
    int Anio = 1899;
    int Mes = 12;
    int Dia = 30;
    int Hora = 0;
    int Minuto = 0;
    int Segundo = 0;

    auto operator<=>(const Fecha_Hora&) const = default;
};

// "dd/mm/yyyy", the date form kept in memory and shown in labels.
std::string Formato_Fecha(const Fecha_Hora& f);
// "Hh:Nn": two-digit hour of a 24-hour clock and two-digit minutes.
std::string Formato_Hora(const Fecha_Hora& f);
// "dd/mm/yyyy Hh:Nn".
std::string Formato_Fecha_Hora(const Fecha_Hora& f);
// "dd-mm-yy".
std::string Formato_Fecha_Corta(const Fecha_Hora& f);
// "yyyy/mm/dd", the date form written into SQL texts.
std::string Formato_Fecha_SQL(const Fecha_Hora& f);
// "yyyy/mm/dd hh:mm:ss", the same with the time of day.
std::string Formato_Fecha_Hora_SQL(const Fecha_Hora& f);
// "yyyy-mm-ddThh:mm:ss", the form of files other programs read (Leer_Fecha_Hora reads it back).
std::string Formato_ISO(const Fecha_Hora& f);

// Reads a date and/or time as the database drivers and the program's own texts give them:
// "dd/mm/yyyy[ hh:mm[:ss]]", "yyyy-mm-dd[ hh:mm:ss]", "yyyy/mm/dd[ ...]" or a bare "hh:mm[:ss]"
// (which gives that time on the zero date). Answers nothing for a text that is none of these.
std::optional<Fecha_Hora> Leer_Fecha_Hora(std::string_view texto);

// The date and time as seconds from 1970-01-01T00:00:00 of the same clock, and back: an instant
// when the clock is UTC's, a "wall" count that local times of one place can be compared with.
long long En_Segundos(const Fecha_Hora& f);
Fecha_Hora Desde_Segundos(long long segundos);

Fecha_Hora Sumar_Segundos(const Fecha_Hora& f, long long segundos);
// Seconds from a to b (b - a).
long long Segundos_Entre(const Fecha_Hora& a, const Fecha_Hora& b);
Fecha_Hora Sumar_Dias(const Fecha_Hora& f, int dias);
// Days from a to b (b - a), counting calendar dates only.
int Dias_Entre(const Fecha_Hora& a, const Fecha_Hora& b);
// The same date at 00:00:00.
Fecha_Hora Solo_Fecha(const Fecha_Hora& f);

}  // namespace facturador

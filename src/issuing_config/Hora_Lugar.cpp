#include "issuing_config/Hora_Lugar.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/Entorno.h"

namespace facturador {

namespace {

// A reckoning: the difference of its clocks to UTC at an instant, in seconds.
using Diferencia = std::function<long long(Instante)>;

// No zone keeps its clocks further than 14 hours from UTC, and no two changes of one zone's clocks
// fall within a day of each other.
constexpr long long kDesvio_Maximo = 15 * 3600;
// From one reckoning's local time to the other's takes one step, out of a repeated or skipped
// hour one more; two more are spare.
constexpr int kPasos_Maximos = 4;

std::vector<Diferencia> Diferencias(const Relojes_Lugar& relojes) {
    std::vector<Diferencia> diferencias;
    if (!relojes.Zona.empty())
        diferencias.push_back(
            [zona = relojes.Zona](Instante i) { return Diferencia_UTC_Zona(zona, i); });
    if (relojes.Huso)
        diferencias.push_back(
            [huso = *relojes.Huso](Instante i) { return Diferencia_UTC(huso, i); });
    if (diferencias.empty())
        diferencias.push_back(
            [zona = Zona_Maquina()](Instante i) { return Diferencia_UTC_Zona(zona, i); });
    return diferencias;
}

// The instants the local time `pared` denotes in one reckoning: one, or two in an hour that a
// change repeats; in an hour a change skips, the readings by the offsets on either side.
std::vector<Instante> Lecturas(const Diferencia& diferencia, long long pared) {
    const long long antes = diferencia(pared - kDesvio_Maximo);
    const long long despues = diferencia(pared + kDesvio_Maximo);
    std::vector<Instante> validas, todas{pared - antes, pared - despues};
    for (const Instante i : todas)
        if (pared - diferencia(i) == i)
            validas.push_back(i);
    return validas.empty() ? todas : validas;
}

// Every instant `pared` denotes in any of the reckonings.
std::vector<Instante> Todas_las_Lecturas(const std::vector<Diferencia>& diferencias,
                                         long long pared) {
    std::vector<Instante> lecturas;
    for (const Diferencia& d : diferencias)
        for (const Instante i : Lecturas(d, pared))
            lecturas.push_back(i);
    return lecturas;
}

// The local time of `instante` that every reckoning reads no later than `instante` (`temprana`),
// or no earlier: one reckoning's local time, moved away from `instante` by as much as a reading
// of it still passes it. That lands on the earlier (or the later) of the reckonings' local
// times, and out of an hour a change repeats or skips when a reading there would pass it.
Fecha_Hora Hora_Acotada(const Relojes_Lugar& relojes, Instante instante, bool temprana) {
    const std::vector<Diferencia> diferencias = Diferencias(relojes);
    const auto pasa = [temprana](long long a, long long b) { return temprana ? a > b : a < b; };
    long long pared = instante + diferencias.front()(instante);
    for (int paso = 0; paso < kPasos_Maximos; ++paso) {
        const auto lecturas = Todas_las_Lecturas(diferencias, pared);
        const auto [primera, ultima] = std::minmax_element(lecturas.begin(), lecturas.end());
        const Instante extrema = temprana ? *ultima : *primera;
        if (!pasa(extrema, instante))
            break;
        pared -= extrema - instante;
    }
    return Desde_Segundos(pared);
}

}  // namespace

Fecha_Hora Hora_Temprana(const Relojes_Lugar& relojes, Instante ahora) {
    return Hora_Acotada(relojes, ahora, true);
}

Fecha_Hora Hora_Tardia(const Relojes_Lugar& relojes, Instante limite) {
    return Hora_Acotada(relojes, limite, false);
}

Instante Primer_Instante(const Relojes_Lugar& relojes, const Fecha_Hora& pared) {
    const auto lecturas = Todas_las_Lecturas(Diferencias(relojes), En_Segundos(pared));
    return *std::min_element(lecturas.begin(), lecturas.end());
}

bool Relojes_Difieren(const Relojes_Lugar& relojes, Instante desde, Instante hasta) {
    if (relojes.Zona.empty() || !relojes.Huso)
        return false;
    // Both are constant between their changes: comparing them at the start and right at each
    // change of either covers every moment.
    std::vector<Instante> momentos = Cambios_de_Hora(relojes.Zona, desde, hasta);
    momentos.push_back(desde);
    const int primero = Desde_Segundos(desde).Anio, ultimo = Desde_Segundos(hasta).Anio;
    for (int anio = primero; anio <= ultimo; ++anio)
        for (const Instante cambio : Cambios_de_Hora(*relojes.Huso, anio))
            if (cambio >= desde && cambio <= hasta)
                momentos.push_back(cambio);
    return std::any_of(momentos.begin(), momentos.end(), [&](Instante i) {
        return Diferencia_UTC_Zona(relojes.Zona, i) != Diferencia_UTC(*relojes.Huso, i);
    });
}

}  // namespace facturador

#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Fecha_Hora.h"

namespace facturador {

// Keeps a failure that comes back on every cycle, one a second, from flooding the daily log and
// the service's journal: its line is written the first time, then at most once an hour with how
// many times it came back meanwhile, and once more when it clears.
//
// A failure is known by its key: what it is about and what kind of failure it is ("solicitud 7 |
// archivo para timbrar", "sucursal 3 | sin serie"). The line written is the latest one given.
class Repeticiones {
  public:
    static constexpr long long kSegundos_Entre_Lineas = 60 * 60;

    // One more occurrence of the failure `clave`: the line to write now, or nothing. Once an hour
    // has gone by since its last line (or the clock was set back), the line carries the count:
    // "<linea> [se repitió N veces desde las hh:mm]".
    std::optional<std::string> Ocurre(const std::string& clave, const std::string& linea);
    // Every failure about `sujeto` (the keys "<sujeto> | ...") is over: "Se resolvió: <its last
    // line>" (with the count of repeats not yet told) for each, in key order.
    std::vector<std::string> Cesan(const std::string& sujeto);
    // Starts a round afresh: no failure under way has come up in it yet.
    void Empezar_Ronda();
    // Ends a round in which every failure under way would have come up again if it still
    // happened (a complete generation pass, a cycle without failures): those that did not come up
    // clear, and their lines come back in key order.
    std::vector<std::string> Cerrar_Ronda();
    bool En_Curso(const std::string& clave) const { return fallas_.contains(clave); }

  private:
    struct Falla {
        std::string linea;
        Fecha_Hora escrita;          // when its line was last written
        long long repeticiones = 0;  // occurrences since its line was last written
        bool en_ronda = true;        // came up in the round under way
    };
    static std::string Con_Cuenta(const std::string& linea, const Falla& falla);
    static std::string Resuelta(const Falla& falla);

    std::map<std::string, Falla> fallas_;
};

}  // namespace facturador

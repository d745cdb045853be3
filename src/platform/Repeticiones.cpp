#include "platform/Repeticiones.h"

#include <fmt/format.h>

#include "platform/Entorno.h"

namespace facturador {

namespace {

// A clock set back (a change of time by hand) counts as the time gone by, so that a failure is
// never hidden for long.
bool Paso_El_Plazo(const Fecha_Hora& desde, const Fecha_Hora& ahora) {
    return ahora < desde || Segundos_Entre(desde, ahora) >= Repeticiones::kSegundos_Entre_Lineas;
}

}  // namespace

std::string Repeticiones::Con_Cuenta(const std::string& linea, const Falla& falla) {
    if (falla.repeticiones == 0)
        return linea;
    return fmt::format("{} [se repitió {} {} desde las {}]", linea, falla.repeticiones,
                       falla.repeticiones == 1 ? "vez" : "veces", Formato_Hora(falla.escrita));
}

std::optional<std::string> Repeticiones::Ocurre(const std::string& clave,
                                                const std::string& linea) {
    const Fecha_Hora ahora = Ahora();
    const auto [it, nueva] = fallas_.try_emplace(clave, Falla{linea, ahora, 0, true});
    if (nueva)
        return linea;
    Falla& falla = it->second;
    falla.linea = linea;
    falla.en_ronda = true;
    if (!Paso_El_Plazo(falla.escrita, ahora)) {
        ++falla.repeticiones;
        return std::nullopt;
    }
    // This occurrence is the line itself; the count is of those kept back since the last one.
    const std::string escrita = Con_Cuenta(linea, falla);
    falla.escrita = ahora;
    falla.repeticiones = 0;
    return escrita;
}

std::string Repeticiones::Resuelta(const Falla& falla) {
    return "Se resolvió: " + Con_Cuenta(falla.linea, falla);
}

std::vector<std::string> Repeticiones::Cesan(const std::string& sujeto) {
    std::vector<std::string> resueltas;
    const std::string prefijo = sujeto + " | ";
    auto it = fallas_.lower_bound(prefijo);
    while (it != fallas_.end() && it->first.starts_with(prefijo)) {
        resueltas.push_back(Resuelta(it->second));
        it = fallas_.erase(it);
    }
    return resueltas;
}

void Repeticiones::Empezar_Ronda() {
    for (auto& [clave, falla] : fallas_)
        falla.en_ronda = false;
}

std::vector<std::string> Repeticiones::Cerrar_Ronda() {
    std::vector<std::string> resueltas;
    for (auto it = fallas_.begin(); it != fallas_.end();) {
        Falla& falla = it->second;
        if (falla.en_ronda) {
            falla.en_ronda = false;
            ++it;
            continue;
        }
        resueltas.push_back(Resuelta(falla));
        it = fallas_.erase(it);
    }
    return resueltas;
}

}  // namespace facturador

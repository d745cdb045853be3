#include "platform/Pool_Central.h"

#include <vector>

namespace facturador {

namespace {

// Enough for the program's habit of one connection at a time, with room for the cycle's own
// connection while an operation opens another.
constexpr size_t kMaximo_Inactivas = 4;

struct Pool {
    std::vector<std::unique_ptr<Motor_MariaDB>> inactivas;
    Estadisticas_Pool_Central estadisticas;
};

Pool& El_Pool() {
    static Pool pool;
    return pool;
}

// The most recently returned idle connection with these parameters, taken out of the pool.
std::unique_ptr<Motor_MariaDB> Sacar_Inactiva(const Parametros_Central& parametros) {
    auto& inactivas = El_Pool().inactivas;
    for (auto it = inactivas.rbegin(); it != inactivas.rend(); ++it) {
        if ((*it)->Parametros() != parametros)
            continue;
        auto motor = std::move(*it);
        inactivas.erase(std::next(it).base());
        return motor;
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<Motor_MariaDB> Tomar_Conexion_Central(const Parametros_Central& parametros) {
    Pool& pool = El_Pool();
    if (auto motor = Sacar_Inactiva(parametros)) {
        if (motor->Reiniciar_Sesion()) {
            ++pool.estadisticas.Reutilizaciones;
            return motor;
        }
        // The server restarted, or it stopped answering and the reset waited out the statement
        // limit: the other idle connections to it are no better, and trying each would make
        // one open wait that long again for every one of them.
        ++pool.estadisticas.Reinicios_Fallidos;
        ++pool.estadisticas.Descartadas;
        while (Sacar_Inactiva(parametros))
            ++pool.estadisticas.Descartadas;
    }
    auto motor = std::make_unique<Motor_MariaDB>(parametros);
    ++pool.estadisticas.Conexiones_Fisicas;
    return motor;
}

void Devolver_Conexion_Central(std::unique_ptr<Motor_MariaDB> motor) noexcept {
    if (!motor || !motor->Deshacer_Pendiente())
        return;
    auto& inactivas = El_Pool().inactivas;
    if (inactivas.size() >= kMaximo_Inactivas)
        inactivas.erase(inactivas.begin());
    inactivas.push_back(std::move(motor));
}

Estadisticas_Pool_Central Estadisticas_Pool() {
    Estadisticas_Pool_Central estadisticas = El_Pool().estadisticas;
    estadisticas.Inactivas = El_Pool().inactivas.size();
    return estadisticas;
}

void Vaciar_Pool_Central() {
    El_Pool().inactivas.clear();
}

}  // namespace facturador

#pragma once

#include <functional>
#include <map>
#include <string>

namespace facturador {

// Server status counters by name: Questions, Connections and each Com_*.
using Contadores = std::map<std::string, long long>;

// What the server, the program's pool and this process spent on one action.
struct Medida {
    Contadores Servidor;  // the counters that changed, less what reading them adds by itself
    long Conexiones_Fisicas_Pool = 0;
    long Reutilizaciones_Pool = 0;
    double Segundos = 0;
    double Segundos_CPU = 0;

    // A server counter's change per unit of work.
    double Por_Unidad(const std::string& contador, double unidades) const;
};

// Runs `accion` between two readings of the server's counters, taken on a connection of its own
// outside the program's pool.
Medida Medir(const std::function<void()>& accion);

// Sets the server's innodb_flush_log_at_trx_commit: 1 is its durable default (the log is flushed
// to disk at every commit), 2 the relaxed setting of the tests (flushed about once a second).
void Poner_Durabilidad(int flush_log_at_trx_commit);

// Runs a statement as the server's administrator (rights the program's account lacks: ALTER,
// DROP DATABASE).
void Administrar_Servidor(const std::string& sql);

// CPU time of this process so far: the figure that does not depend on how busy the machine is.
double Segundos_CPU();
double Memoria_Maxima_MB();

}  // namespace facturador

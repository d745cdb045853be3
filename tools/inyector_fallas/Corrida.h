#pragma once

#include <string>
#include <vector>

#include "Inyectores.h"

namespace facturador::pruebas {

struct Opciones_Corrida {
    unsigned semilla = 0;
    int fallas = 20;
    std::string carpeta_servidor;
    int nodos = 0;  // a Galera cluster of this many nodes, a copy of the program on each; 0: none
    std::vector<Falla> elegidas;  // the kinds of fault drawn from; all when empty
    bool solo_informar = false;   // violations are reported, and the run still ends well
    // A member of the branch folders' group plants links, pipes and sparse files in them through
    // the whole run (Vecino_en_Corrida); one more invariant: no file outside the branch and
    // program folders changes.
    bool vecino_hostil = false;
};

// Injects `fallas` random faults, checks the invariants after each, then restarts the program
// and the stamping program a last time and checks that every valid request ends stamped and
// stored. Prints a line per fault and the table of violations by fault (on a cluster, with the
// longest time without a worker); the exit status is 1 when there was any violation (0 with
// `solo_informar`).
int Correr_Fallas(const Opciones_Corrida& opciones);

}  // namespace facturador::pruebas

// Fault runs: the built program and the simulated stamping program against a private durable
// server, with kills, server restarts and crashes, queue folders that vanish, turn read-only or
// fill up, and hostile rows injected at random moments; the invariants are checked after each.
//   inyector_fallas [--servidor CARPETA] [--nodos N] [--fallas N] [--semilla S] [--solo a,b]
//                   [--solo-informar] [--vecino-hostil]
// With --nodos the run is on a Galera cluster of that many nodes on this machine, a copy of the
// program on each node, and its faults are the cluster's: kills, stops, cuts and freezes of the
// working copy and its node. With --vecino-hostil a member of the branch folders' group plants
// links, pipes and sparse files in them all along, and no file outside the branch and program
// folders may change.
// The seed is printed first: the same seed replays the same faults.

#include <fmt/format.h>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>

#include "Corrida.h"

using namespace facturador::pruebas;

namespace {

Falla Falla_Llamada(const std::string& nombre) {
    for (size_t f = 0; f < kNombres_Falla.size(); ++f)
        if (nombre == kNombres_Falla[f])
            return static_cast<Falla>(f);
    throw std::invalid_argument("unknown fault: " + nombre);
}

Opciones_Corrida Leer_Opciones(int argc, char** argv) {
    Opciones_Corrida o;
    o.semilla = std::random_device{}();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto valor = [&]() -> std::string {
            if (i + 1 >= argc)
                throw std::invalid_argument(a + " needs a value");
            return argv[++i];
        };
        if (a == "--servidor") {
            o.carpeta_servidor = valor();
        } else if (a == "--nodos") {
            o.nodos = std::stoi(valor());
        } else if (a == "--fallas") {
            o.fallas = std::stoi(valor());
        } else if (a == "--semilla") {
            o.semilla = static_cast<unsigned>(std::stoul(valor()));
        } else if (a == "--solo") {
            std::istringstream lista(valor());
            for (std::string nombre; std::getline(lista, nombre, ',');)
                o.elegidas.push_back(Falla_Llamada(nombre));
        } else if (a == "--solo-informar") {
            o.solo_informar = true;
        } else if (a == "--vecino-hostil") {
            o.vecino_hostil = true;
        } else {
            throw std::invalid_argument("unknown option: " + a);
        }
    }
    return o;
}

// The cluster needs Galera's provider and the state transfer's tools (mariabackup, socat).
bool Hay_Galera() {
    return std::filesystem::exists("/usr/lib/galera/libgalera_smm.so") &&
           std::system("command -v mariabackup >/dev/null && command -v socat >/dev/null") == 0;
}

// The exit status CTest counts as a skipped test.
constexpr int kOmitida = 77;

}  // namespace

int main(int argc, char** argv) {
    try {
        const Opciones_Corrida opciones = Leer_Opciones(argc, argv);
        if (opciones.nodos > 0 && !Hay_Galera()) {
            fmt::print("No Galera cluster can start here (galera-4, mariadb-backup, socat).\n");
            return kOmitida;
        }
        fmt::print("semilla {}\n", opciones.semilla);
        std::fflush(stdout);
        return Correr_Fallas(opciones);
    } catch (const std::exception& e) {
        fmt::print(stderr, "inyector_fallas: {}\n", e.what());
        return 2;
    }
}

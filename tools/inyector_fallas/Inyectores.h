#pragma once

#include <array>
#include <optional>
#include <random>

#include "Mundo_Fallas.h"
#include "Siembra_Fallas.h"

namespace facturador::pruebas {

enum class Falla : size_t {
    Matar_en_Generacion,  // kill -9 of the program while it queues files, simulator running
    Matar_en_Recepcion,   // kill -9 of the program while it takes results in
    Reiniciar_Servidor,   // the server stopped and started during a pass
    Matar_Servidor,       // kill -9 of the server during a pass, then its crash recovery
    Cola_Desaparece,      // a branch's queue folder is gone for a few cycles
    Cola_Solo_Lectura,    // ... cannot be written to by the program's user
    Cola_Llena,           // ... lies on a file system with no space left
    Filas_Hostiles,       // hostile requests and tickets written by the outside system
    // On a cluster, each aimed at the copy that holds the lease and its node:
    Matar_Copia,     // kill -9 of the working copy during a pass
    Matar_Nodo,      // kill -9 of its node's database, started again once another copy works
    Parar_Nodo,      // its node's database stopped, started again once another copy works
    Matar_Ambos,     // kill -9 of both at once
    Aislar_Nodo,     // its node cut off from the others for a while
    Detener_Nodo,    // its node's database frozen (SIGSTOP) for a while
    Pausar_Copia,    // the working copy frozen (SIGSTOP) for longer than the lease
    Reiniciar_Otro,  // a node without the worker stopped and started during a pass
    Cuantas
};

extern const std::array<const char*, static_cast<size_t>(Falla::Cuantas)> kNombres_Falla;

bool Es_De_Cluster(Falla falla);

// Injects one fault at a random moment, with new requests for it to hit, and undoes what it did
// to the folders and the server. The program is left killed or running as the fault leaves it;
// on a cluster every copy and node is running again. For a cluster's fault, the seconds from the
// moment it struck until a copy issued one of the requests written right after it.
std::optional<double> Inyectar(Falla falla, Mundo_Fallas& mundo, Siembra_Fallas& siembra,
                               std::mt19937& azar);

// Requests the copies have started to queue, by the line their daily logs get for each.
long Iniciadas(const Mundo_Fallas& mundo);
int Entre(std::mt19937& azar, int desde, int hasta);
void Dormir_Hasta(std::mt19937& azar, int milisegundos);

}  // namespace facturador::pruebas

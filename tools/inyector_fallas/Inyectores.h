#pragma once

#include <array>
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
    Cuantas
};

extern const std::array<const char*, static_cast<size_t>(Falla::Cuantas)> kNombres_Falla;

// Injects one fault at a random moment, with new requests for it to hit, and undoes what it did
// to the folders and the server. The program is left killed or running as the fault leaves it.
void Inyectar(Falla falla, Mundo_Fallas& mundo, Siembra_Fallas& siembra, std::mt19937& azar);

}  // namespace facturador::pruebas

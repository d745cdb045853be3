#include "generation/Diario_Diferido.h"

#include <utility>

#include "data/Log.h"

namespace facturador {

void Diario_Diferido::Escribir() {
    for (const std::string& linea : std::exchange(lineas_, {}))
        Escribir_Log(linea);
}

}  // namespace facturador

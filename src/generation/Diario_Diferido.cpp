#include "generation/Diario_Diferido.h"

#include "data/Log.h"

namespace facturador {

void Diario_Diferido::Escribir(bool confirmada) {
    for (const Linea& linea : std::exchange(lineas_, {}))
        if (confirmada || !linea.de_la_base)
            Escribir_Log(linea.texto);
}

}  // namespace facturador

#include "ui/Puntero_Dentro.h"

namespace facturador {

bool Puntero_Dentro(float ancho, float alto, float x, float y) {
    return x >= 0 && x <= ancho && y >= 0 && y <= alto;
}

}  // namespace facturador

#include "ui/Solo_Numeros.h"

namespace facturador {

char16_t Solo_Numeros(char16_t codigo) {
    constexpr char16_t retroceso = 8;
    if (codigo == retroceso || (codigo >= u'0' && codigo <= u'9'))
        return codigo;
    return 0;
}

}  // namespace facturador

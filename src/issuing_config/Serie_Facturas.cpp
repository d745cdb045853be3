#include "issuing_config/Serie_Facturas.h"

#include "platform/Texto.h"

namespace facturador {

bool Serie_Valida(std::string_view serie) {
    return Cabe_en_Windows_1252(serie) && Sin_Controles(serie) == serie &&
           serie.find_first_of("/\\") == std::string_view::npos;
}

}  // namespace facturador

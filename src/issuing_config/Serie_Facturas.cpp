#include "issuing_config/Serie_Facturas.h"

#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr size_t kLargo_Maximo_Serie = 25;

}  // namespace

bool Serie_Valida(std::string_view serie) {
    return Cabe_en_Windows_1252(serie) && Sin_Controles(serie) == serie &&
           serie.find_first_of("/\\:*?\"<>|") == std::string_view::npos &&
           Contar_Caracteres(serie) <= kLargo_Maximo_Serie;
}

}  // namespace facturador

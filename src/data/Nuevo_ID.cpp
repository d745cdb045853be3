#include "data/Nuevo_ID.h"

#include <limits>

#include "data/Turno_Central.h"
#include "data/Valores_Campo.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

constexpr long kError_Desbordamiento = 6;
constexpr long kError_Clave_Duplicada = 1062;

}  // namespace

int32_t Nuevo_ID(Conexion& conexion, const std::string& tabla, const std::string& columna) {
    Recordset rs = conexion.Ejecutar("Select MIN(" + columna + ") FROM " + tabla);
    double minimo = 0;
    if (!rs.Fin())
        minimo = Valor_Inicial(rs.Texto(size_t{0}));
    if (minimo >= 0)
        return -1;
    const auto entero = Entero_Redondeado(minimo);
    if (!entero || *entero == std::numeric_limits<int32_t>::min())
        throw Error_Plataforma(kError_Desbordamiento,
                               "Desbordamiento: no quedan claves negativas en " + tabla);
    return *entero - 1;
}

void Insertar_con_Clave_Nueva(const std::function<void()>& insertar) {
    try {
        insertar();
    } catch (const Error_Plataforma& e) {
        if (e.Numero != kError_Clave_Duplicada)
            throw;
        throw Error_Plataforma(kError_Clave_Tomada, e.Descripcion);
    }
}

}  // namespace facturador

#pragma once

#include <string_view>

#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

// The server's number for a statement that names a table that does not exist.
inline constexpr long kError_Tabla_Inexistente = 1146;

// Tables of this system's own beside the shared ones are created by sql/01_esquema.sql, and by the
// program itself on an installation that predates them (the central account may create them:
// sql/02_cuenta.sql). Runs `accion`; when it fails because a table is missing, runs `definicion`
// (the table's "CREATE TABLE IF NOT EXISTS", as 01_esquema.sql has it) on the connection and
// `accion` once more. Only outside a transaction: creating a table commits whatever is open.
template <typename Accion>
auto Con_Tabla_Propia(Conexion& conexion, std::string_view definicion, Accion&& accion) {
    try {
        return accion();
    } catch (const Error_Plataforma& e) {
        if (e.Numero != kError_Tabla_Inexistente)
            throw;
    }
    conexion.Ejecutar(std::string(definicion));
    return accion();
}

}  // namespace facturador

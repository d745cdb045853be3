#pragma once

#include <string>
#include <string_view>

#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

// The tables this program added to the central database after its first schema. Start-up creates
// each one that is missing, with the statement of the schema the program was built with, so a
// database set up before the table existed needs no manual step. To add one: its CREATE TABLE IF
// NOT EXISTS in sql/01_esquema.sql and its name here.
inline constexpr std::string_view kTablas_Propias[] = {"Zonas_Horarias_Sucursales",
                                                       "Turno_Facturador", "Pedidos_Reencolado"};

// The statement of `esquema` (text in the form of sql/01_esquema.sql) that creates `tabla`, from
// "CREATE TABLE IF NOT EXISTS tabla (" to the ";" that ends it (left out). std::logic_error when
// the schema creates no such table.
std::string Sentencia_Crear_Tabla(std::string_view esquema, std::string_view tabla);

// The text of sql/01_esquema.sql as it was when the program was built.
std::string_view Texto_Esquema_Central();

// Creates, on a central connection of its own, each table of kTablas_Propias that the database
// lacks; a table that is there is never touched, so an account without the CREATE privilege only
// fails when a table is really missing. A failure reaches the caller.
void Crear_Tablas_Propias();

// The server's number for a statement that names a table that does not exist.
inline constexpr long kError_Tabla_Inexistente = 1146;

// Runs `accion`; when it fails because the table `tabla` of kTablas_Propias is missing (a
// database set up before it, emptied since start-up), creates it on the connection as start-up
// would and runs `accion` once more. Only outside a transaction: creating a table commits
// whatever is open.
template <typename Accion>
auto Con_Tabla_Propia(Conexion& conexion, std::string_view tabla, Accion&& accion) {
    try {
        return accion();
    } catch (const Error_Plataforma& e) {
        if (e.Numero != kError_Tabla_Inexistente)
            throw;
    }
    conexion.Ejecutar(Sentencia_Crear_Tabla(Texto_Esquema_Central(), tabla));
    return accion();
}

}  // namespace facturador

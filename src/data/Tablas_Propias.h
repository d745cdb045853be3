#pragma once

#include <string>
#include <string_view>

namespace facturador {

// The tables this program added to the central database after its first schema. Start-up creates
// each one that is missing, with the statement of the schema the program was built with, so a
// database set up before the table existed needs no manual step. To add one: its CREATE TABLE IF
// NOT EXISTS in sql/01_esquema.sql and its name here.
inline constexpr std::string_view kTablas_Propias[] = {"Zonas_Horarias_Sucursales"};

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

}  // namespace facturador

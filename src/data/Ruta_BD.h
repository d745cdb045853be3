#pragma once

#include <string>

namespace facturador {

inline constexpr const char* kTitulo_Ruta_BD = "Atención";
inline constexpr const char* kMensaje_Ruta_BD_Guardada =
    "Se almacenaron correctamente los parámetros de la base de datos.";
inline constexpr const char* kMensaje_Ruta_BD_Fallida =
    "No es posible conectarse a la base de datos, favor de verificar los parámetros ingresados.";

// The save of the database location dialog. Trims blanks from both values, tests a connection to
// that server and database, and only then records them in every row of the local Configuracion
// table and in the program-wide configuration. Answers false when the test or the update failed;
// the central connection string is then empty (failed test) or the tested one (failed update).
bool Guardar_Parametros(const std::string& servidor, const std::string& nombre);

// Writes server and database name into every row of the local Configuracion table.
void Actualizar_Configuracion_Local(const std::string& servidor, const std::string& nombre);

}  // namespace facturador

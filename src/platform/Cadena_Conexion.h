#pragma once

#include <string>
#include <string_view>

namespace facturador {

// What a central connection string asks for (the ODBC part inside Extended Properties).
struct Parametros_Central {
    std::string Base;        // DATABASE
    std::string Servidor;    // SERVER
    std::string Usuario;     // UID
    std::string Contrasena;  // PASSWORD
    unsigned Puerto = 0;     // PORT; 0 when empty: the client library's default
    // Not part of any connection string: the server's socket of the credentials file, or empty
    // for the client library's own choice (MYSQL_UNIX_PORT or its default).
    std::string Socket;

    bool operator==(const Parametros_Central&) const = default;
};

bool Es_Cadena_Local(std::string_view cadena);
// Reads DATABASE, SERVER, UID, PASSWORD and PORT out of a "Provider=MSDASQL.1;..." string.
// Throws Error_Plataforma for a string that names no database server.
Parametros_Central Leer_Cadena_Central(std::string_view cadena);
// The Data Source of a "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=... ;..." string, trimmed.
std::string Leer_Origen_Local(std::string_view cadena);

}  // namespace facturador

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Cadena_Conexion.h"

namespace facturador {

// Where an installation keeps a central account of its own (root:facturador, mode 0640). The
// package ships none: without it every connection uses the built-in account.
inline constexpr const char* kArchivo_Credenciales_Central = "/etc/facturador/central.conf";

// What the credentials file sets; what it leaves out stays as the connection string says.
struct Credenciales_Central {
    std::optional<std::string> Usuario;     // usuario=
    std::optional<std::string> Contrasena;  // contrasena=
    std::optional<std::string> Socket;      // socket=: the central server's socket
};

// Reads the credentials file: "clave=valor" lines with the keys above, blank lines and "#"
// comments, blanks around keys and values ignored. A file that does not exist sets nothing.
// Throws Error_Plataforma for a file that cannot be read, that is a link or no regular file (never
// followed, never waited on), that belongs to another user than root, that other users can read or
// its group can write, or that has a line it cannot use; the message never repeats a line, which
// may hold the password. An account other than root reads a file of root's 0640 only as a member
// of its group.
Credenciales_Central Leer_Credenciales_Central(const std::string& ruta);

// The credentials every central connection uses from now on; start-up sets them once.
Credenciales_Central& Credenciales_Vigentes();

// What a central connection string asks for, with the account and socket of the credentials in
// force. The string itself is left as the program has always built it.
Parametros_Central Parametros_de_Conexion(std::string_view cadena);

}  // namespace facturador

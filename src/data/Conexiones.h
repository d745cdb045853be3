#pragma once

#include <functional>
#include <string>

#include "platform/Conexion.h"

namespace facturador {

inline constexpr const char* kContrasena_Central = "m58kbwTavRz07";
inline constexpr const char* kUsuario_Central = "usuarios";
inline constexpr const char* kBase_Central = "Morvane_Central";
// The local configuration database's file in the program folder.
inline constexpr const char* kArchivo_Configuracion_Local = "local.dll";
// The host name that stands for "the local machine" in the central connection strings.
inline constexpr const char* kServidor_Local = "localhost";

// "Provider=MSDASQL.1;...DATABASE=<base>;SERVER=<servidor>;UID=usuarios;PASSWORD=...;PORT=<puerto>
// ;OPTION=16387;STMT=;": the one formula behind every central connection string.
std::string Armar_Cadena_Central(const std::string& base, const std::string& servidor,
                                 const std::string& puerto);
// The central string every operation opens: the local machine, "Morvane_Central", the driver's
// default port.
std::string Cadena_Central_de_Operacion();
// Connection strings of the two local database files in the program folder.
std::string Cadena_Conexion_Local();
std::string Armar_Cadena_Historial();

// True when the service's central account goes with the built-in password: without its credentials
// file, or with one that gives no password of its own. That password is the same in every copy of
// the program (and readable in it): any account of the machine that reaches the server's socket can
// then read and change every invoice. Monitoring and the console (Cuenta_Vigente) connect with
// accounts of their own and may not read the service's file: for them a missing file means the built-in password,
// and one they cannot read tells nothing.
bool Usa_Contrasena_de_Fabrica();
// What the health report and the daily log say of it.
inline constexpr const char* kAviso_Contrasena_de_Fabrica =
    "Aviso: la cuenta central usa la contraseña de fábrica, la misma en todas las copias del "
    "programa; cualquier cuenta de este equipo que llegue al servidor puede leer y cambiar las "
    "facturas. Póngale una propia en /etc/facturador/central.conf.";

// How one piece of central work opens its connection: Abrir_Conexion_Central on the program's own
// thread, a connection of its own (Conexion::Abrir_Propia) on any other.
using Abrir_Central = std::function<void(Conexion&)>;

// Cadena_Central_de_Operacion, recorded as the current central one.
std::string Cadena_Central_Vigente();
// Opens the per-operation central connection (local machine, "Morvane_Central", driver's default
// port) and records its string as the current central one. A failure reaches the caller.
void Abrir_Conexion_Central(Conexion& conexion);
// Closes the connection, ignoring every error.
void Cerrar_Conexion(Conexion& conexion) noexcept;
// Opens the local configuration database; on any error the connection simply stays closed.
void Abrir_Conexion_Local(Conexion& conexion) noexcept;

}  // namespace facturador

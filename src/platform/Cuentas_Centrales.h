#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace facturador {

// The central database accounts of an installation, each with only the rights its work needs
// (sql/02_cuenta.sql), and the credentials file each one reads: root's, readable by one group, so
// that a password reaches only those who work with its account.
enum class Cuenta_Central {
    Servicio,   // the program that works: generates, takes in, cancels, re-queues
    Consola,    // the operator's console: cancels, edits profiles, reactivates; never works
    Monitoreo,  // --estado: reads
};

struct Archivo_Cuenta {
    Cuenta_Central Cuenta;
    const char* Nombre;   // as --cuenta names it
    const char* Archivo;  // its credentials file, in kCarpeta_Credenciales
    const char* Grupo;    // the group that reads that file
};

inline constexpr const char* kCarpeta_Credenciales = "/etc/facturador";

inline constexpr Archivo_Cuenta kArchivos_Cuentas[] = {
    {Cuenta_Central::Servicio, "servicio", "central.conf", "facturador-central"},
    {Cuenta_Central::Consola, "consola", "consola.conf", "facturador-consola"},
    {Cuenta_Central::Monitoreo, "monitoreo", "monitoreo.conf", "facturador-monitoreo"},
};

// The account that --cuenta names; nothing for a name it does not know.
std::optional<Cuenta_Central> Cuenta_por_Nombre(std::string_view nombre);

// The account this copy connects with (--cuenta); start-up sets it once.
Cuenta_Central& Cuenta_Vigente();

// The folder of the credentials files: kCarpeta_Credenciales, but where tests put their own.
std::string& Carpeta_Credenciales();

// The credentials file `cuenta` reads, in `carpeta`: its own. While the console's or monitoring's
// own file is not there (an installation set up before they had accounts of their own), they read
// the service's, as they always did.
std::string Archivo_Credenciales_de(Cuenta_Central cuenta,
                                    const std::string& carpeta = Carpeta_Credenciales());

}  // namespace facturador

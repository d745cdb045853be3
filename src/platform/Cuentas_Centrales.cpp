#include "platform/Cuentas_Centrales.h"

#include <sys/stat.h>

#include "platform/Archivos.h"

namespace facturador {

namespace {

const Archivo_Cuenta& Datos_de(Cuenta_Central cuenta) {
    for (const Archivo_Cuenta& datos : kArchivos_Cuentas)
        if (datos.Cuenta == cuenta)
            return datos;
    return kArchivos_Cuentas[0];
}

// Anything at the name counts, a link or a file this user cannot read included: the reader then
// says what is wrong with it instead of quietly taking another account.
bool Hay_Algo_En(const std::string& ruta) {
    struct stat datos {};
    return lstat(ruta.c_str(), &datos) == 0;
}

}  // namespace

std::optional<Cuenta_Central> Cuenta_por_Nombre(std::string_view nombre) {
    for (const Archivo_Cuenta& datos : kArchivos_Cuentas)
        if (nombre == datos.Nombre)
            return datos.Cuenta;
    return std::nullopt;
}

Cuenta_Central& Cuenta_Vigente() {
    static Cuenta_Central cuenta = Cuenta_Central::Servicio;
    return cuenta;
}

std::string& Carpeta_Credenciales() {
    static std::string carpeta = kCarpeta_Credenciales;
    return carpeta;
}

std::string Archivo_Credenciales_de(Cuenta_Central cuenta, const std::string& carpeta) {
    const std::string propio = Unir_Ruta(carpeta, Datos_de(cuenta).Archivo);
    if (cuenta == Cuenta_Central::Servicio || Hay_Algo_En(propio))
        return propio;
    return Unir_Ruta(carpeta, Datos_de(Cuenta_Central::Servicio).Archivo);
}

}  // namespace facturador

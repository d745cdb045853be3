#include "data/Conexiones.h"

#include "data/Configuracion.h"
#include "platform/Archivos.h"
#include "platform/Credenciales_Central.h"
#include "platform/Cuentas_Centrales.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

// Both local database files share this password.
constexpr const char* kContrasena_Local = "Qx7Lm2Vb9TpWc4Hd";

// The Jet string of one database file of the program folder. The blanks around the file name
// and after "Password=" are part of the strings as they have always been written.
std::string Cadena_Archivo_Local(const char* archivo) {
    return "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" +
           Unir_Ruta(Carpeta_Programa(), archivo) +
           " ;Jet OLEDB:Database Password= " + kContrasena_Local;
}

}  // namespace

std::string Armar_Cadena_Central(const std::string& base, const std::string& servidor,
                                 const std::string& puerto) {
    return std::string("Provider=MSDASQL.1;Password=;Persist Security Info=True;User ID=;") +
           "Extended Properties=\"DRIVER={MySQL ODBC 3.51 Driver};DESC=;DATABASE=" + base +
           ";SERVER=" + servidor + ";UID=" + kUsuario_Central + ";PASSWORD=" + kContrasena_Central +
           ";PORT=" + puerto + ";OPTION=16387;STMT=;\"";
}

bool Usa_Contrasena_de_Fabrica() {
    if (Cuenta_Vigente() == Cuenta_Central::Servicio)
        return Parametros_de_Conexion(Cadena_Central_de_Operacion()).Contrasena ==
               kContrasena_Central;
    try {
        const Credenciales_Central servicio =
            Leer_Credenciales_Central(Archivo_Credenciales_de(Cuenta_Central::Servicio));
        return servicio.Usuario.value_or(kUsuario_Central) == kUsuario_Central &&
               servicio.Contrasena.value_or(kContrasena_Central) == kContrasena_Central;
    } catch (const Error_Plataforma&) {
        return false;
    }
}

std::string Cadena_Conexion_Local() {
    return Cadena_Archivo_Local(kArchivo_Configuracion_Local);
}

std::string Armar_Cadena_Historial() {
    return Cadena_Archivo_Local("Taldo.dll");
}

std::string Cadena_Central_de_Operacion() {
    return Armar_Cadena_Central(kBase_Central, kServidor_Local, "");
}

std::string Cadena_Central_Vigente() {
    const std::string cadena = Cadena_Central_de_Operacion();
    Configuracion().Cadena_Conexion_Central = cadena;
    return cadena;
}

void Abrir_Conexion_Central(Conexion& conexion) {
    const std::string cadena = Cadena_Central_Vigente();
    conexion = Conexion();
    conexion.Abrir(cadena);
}

void Cerrar_Conexion(Conexion& conexion) noexcept {
    conexion.Cerrar();
    conexion = Conexion();
}

void Abrir_Conexion_Local(Conexion& conexion) noexcept {
    try {
        conexion = Conexion();
        conexion.Abrir(Cadena_Conexion_Local());
    } catch (...) {
        conexion.Cerrar();
    }
}

}  // namespace facturador

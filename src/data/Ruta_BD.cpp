#include "data/Ruta_BD.h"

#include "data/Conexiones.h"
#include "data/Configuracion.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

std::string Sin_Blancos_Extremos(const std::string& texto) {
    const auto inicio = texto.find_first_not_of(' ');
    if (inicio == std::string::npos)
        return "";
    return texto.substr(inicio, texto.find_last_not_of(' ') - inicio + 1);
}

void Probar_Conexion(const std::string& cadena) {
    Conexion conexion;
    conexion.Abrir(cadena);
    Cerrar_Conexion(conexion);
}

}  // namespace

void Actualizar_Configuracion_Local(const std::string& servidor, const std::string& nombre) {
    Conexion conexion;
    // An unopened connection fails on first use, which is this operation's failure.
    Abrir_Conexion_Local(conexion);
    // The values go through the connection's escaping, so a quote is stored as typed.
    conexion.Ejecutar("UPDATE Configuracion SET BD_MySQL = '" + conexion.Escapar(nombre) +
                      "', IP_Servidor = '" + conexion.Escapar(servidor) + "'");
    Cerrar_Conexion(conexion);
}

bool Guardar_Parametros(const std::string& servidor_escrito, const std::string& nombre_escrito) {
    Configuracion_Programa& cfg = Configuracion();
    try {
        cfg.Cadena_Conexion_Central.clear();
        const std::string servidor = Sin_Blancos_Extremos(servidor_escrito);
        const std::string nombre = Sin_Blancos_Extremos(nombre_escrito);
        const std::string cadena = Armar_Cadena_Central(nombre, servidor, "");
        Probar_Conexion(cadena);
        cfg.Cadena_Conexion_Central = cadena;
        Actualizar_Configuracion_Local(servidor, nombre);
        cfg.Servidor_Central = servidor;
        cfg.Base_Central = nombre;
        return true;
    } catch (const Error_Plataforma&) {
        return false;
    }
}

}  // namespace facturador

#include "generation/Recuperacion_Cola.h"

#include <set>
#include <string>

#include "data/Conexiones.h"
#include "data/Log.h"
#include "data/Valores_Campo.h"
#include "generation/Cola_Timbrado.h"
#include "generation/Estado_Generacion.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

bool Es_Copia_Interrumpida(const std::string& nombre) {
    return nombre.starts_with('.') && nombre.ends_with(".copiando");
}

std::set<std::string> Carpetas_de_Cola() {
    std::set<std::string> carpetas;
    for (const Datos_Emision& perfil : Datos_Emision_Sucursales())
        if (!perfil.Ruta_Cola_Facturas.empty())
            carpetas.insert(perfil.Ruta_Cola_Facturas);
    return carpetas;
}

// True when the request is committed in status 2 naming this file of this queue folder.
bool Confirmada_con_Archivo(Conexion& conexion, const Temporal_en_Cola& temporal,
                            const std::string& carpeta) {
    Recordset rs = conexion.Ejecutar(
        "SELECT Status, Archivo, ID_Sucursal FROM Solicitudes_de_Facturas_OL WHERE ID = " +
        std::to_string(temporal.ID_Solicitud) + " LOCK IN SHARE MODE");
    if (rs.Fin())
        return false;
    const int32_t sucursal = Entero_Redondeado(Valor_Inicial(rs.Texto("ID_Sucursal"))).value_or(0);
    return Valor_Inicial(rs.Texto("Status")) == 2 &&
           rs.Texto("Archivo") + ".txt" == temporal.Nombre_Archivo &&
           Obtener_Datos_Emision(sucursal).Ruta_Cola_Facturas == carpeta;
}

void Resolver_Temporal(Conexion& conexion, const std::string& carpeta, const std::string& nombre,
                       const Temporal_en_Cola& temporal) {
    const std::string oculta = Unir_Ruta(carpeta, nombre);
    const std::string cola = Unir_Ruta(carpeta, temporal.Nombre_Archivo);
    const std::string solicitud = "Solicitud ID: " + std::to_string(temporal.ID_Solicitud) + " - ";
    if (!Confirmada_con_Archivo(conexion, temporal, carpeta)) {
        Borrar_Archivo_Ignorando_Errores(oculta);
        Olvidar_Aviso("publicar " + oculta);
        return Escribir_Log(solicitud + "Se descartó el archivo para timbrar " + oculta +
                            ": la solicitud no quedó en status 2 con él.");
    }
    if (const auto aviso = Publicar_o_Esperar(carpeta, oculta, cola))
        return Escribir_Log(solicitud + *aviso);
    if (Estado_Generacion_Actual().Temporales_en_Cola.contains(cola))
        return;  // still waiting, and already told
    Escribir_Log(solicitud + "Se puso en la cola el archivo para timbrar " + cola +
                 ", que había quedado en espera al confirmarse la solicitud.");
}

void Recuperar_Carpeta(Conexion& conexion, const std::string& carpeta) {
    std::vector<std::string> nombres;
    try {
        nombres = Archivos_en_Carpeta(carpeta);
    } catch (const Error_Plataforma& e) {
        return Avisar_Falla_Repetida("carpeta " + carpeta, "revisar",
                                     "No se pudo revisar la carpeta de cola " + carpeta + ": " +
                                         e.Descripcion);
    }
    for (const std::string& nombre : nombres) {
        if (const auto temporal = Leer_Nombre_Temporal(nombre))
            Resolver_Temporal(conexion, carpeta, nombre, *temporal);
        else if (Es_Copia_Interrumpida(nombre))
            Borrar_Archivo_Ignorando_Errores(Unir_Ruta(carpeta, nombre));
    }
}

}  // namespace

void Borrar_Copias_de_Trabajo() {
    for (const std::string& nombre : Archivos_en_Carpeta(Carpeta_Programa()))
        if (Es_Copia_de_Trabajo(nombre))
            Borrar_Archivo_Ignorando_Errores(Unir_Ruta(Carpeta_Programa(), nombre));
}

void Recuperar_Archivos_en_Cola(Conexion& conexion) {
    Estado_Generacion_Actual().Temporales_en_Cola.clear();
    for (const std::string& carpeta : Carpetas_de_Cola())
        Recuperar_Carpeta(conexion, carpeta);
}

void Recuperar_Cola_al_Arrancar() {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    try {
        Recuperar_Archivos_en_Cola(conexion);
    } catch (...) {
        Cerrar_Conexion(conexion);
        throw;
    }
    Cerrar_Conexion(conexion);
}

}  // namespace facturador

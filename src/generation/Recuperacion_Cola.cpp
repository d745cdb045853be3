#include "generation/Recuperacion_Cola.h"

#include <set>
#include <string>
#include <vector>

#include "data/Conexiones.h"
#include "data/Log.h"
#include "data/Turno_Central.h"
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

// A waiting file this copy may settle, and what the database says of its request.
struct Temporal_Hallado {
    std::string carpeta;
    std::string nombre;
    Temporal_en_Cola temporal;
    bool confirmada = false;
};

void Resolver_Temporal(const Temporal_Hallado& h) {
    const std::string oculta = Unir_Ruta(h.carpeta, h.nombre);
    const std::string cola = Unir_Ruta(h.carpeta, h.temporal.Nombre_Archivo);
    const std::string solicitud =
        "Solicitud ID: " + std::to_string(h.temporal.ID_Solicitud) + " - ";
    if (!h.confirmada) {
        Borrar_Archivo_Ignorando_Errores(oculta);
        Olvidar_Aviso("publicar " + oculta);
        return Escribir_Log(solicitud + "Se descartó el archivo para timbrar " + oculta +
                            ": la solicitud no quedó en status 2 con él.");
    }
    if (const auto aviso = Publicar_o_Esperar(h.carpeta, oculta, cola))
        return Escribir_Log(solicitud + *aviso);
    if (Estado_Generacion_Actual().Temporales_en_Cola.contains(cola))
        return;  // still waiting, and already told
    Escribir_Log(solicitud + "Se puso en la cola el archivo para timbrar " + cola +
                 ", que había quedado en espera al confirmarse la solicitud.");
}

// The waiting files of the folder that this copy may settle: those of its own epoch or earlier
// ones. A later epoch's belongs to the copy that holds the lease now, whose unit may be open.
void Buscar_en_Carpeta(const std::string& carpeta, int64_t epoca,
                       std::vector<Temporal_Hallado>& hallados) {
    std::vector<std::string> nombres;
    try {
        nombres = Archivos_en_Carpeta(carpeta);
    } catch (const Error_Plataforma& e) {
        return Avisar_Falla_Repetida(
            "carpeta " + carpeta, "revisar",
            "No se pudo revisar la carpeta de cola " + carpeta + ": " + e.Descripcion);
    }
    for (const std::string& nombre : nombres) {
        if (const auto temporal = Leer_Nombre_Temporal(nombre)) {
            if (temporal->Epoca <= epoca)
                hallados.push_back({carpeta, nombre, *temporal});
        } else if (Es_Copia_Interrumpida(nombre)) {
            Borrar_Archivo_Ignorando_Errores(Unir_Ruta(carpeta, nombre));
        }
    }
}

// What the database holds of each request, read in one transaction that the lease fences: the
// files are settled only by what was read while this copy was the worker.
void Leer_Solicitudes(Conexion& conexion, std::vector<Temporal_Hallado>& hallados) {
    En_Unidad_Cercada(conexion, [&] {
        for (Temporal_Hallado& h : hallados)
            h.confirmada = Confirmada_con_Archivo(conexion, h.temporal, h.carpeta);
    });
}

}  // namespace

void Borrar_Copias_de_Trabajo() {
    for (const std::string& nombre : Archivos_en_Carpeta(Carpeta_Programa()))
        if (Es_Copia_de_Trabajo(nombre))
            Borrar_Archivo_Ignorando_Errores(Unir_Ruta(Carpeta_Programa(), nombre));
}

void Recuperar_Archivos_en_Cola(Conexion& conexion) {
    Estado_Generacion_Actual().Temporales_en_Cola.clear();
    std::vector<Temporal_Hallado> hallados;
    for (const std::string& carpeta : Carpetas_de_Cola())
        Buscar_en_Carpeta(carpeta, Turno_Programa().Epoca(), hallados);
    if (hallados.empty())
        return;
    Leer_Solicitudes(conexion, hallados);
    for (const Temporal_Hallado& h : hallados)
        Resolver_Temporal(h);
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

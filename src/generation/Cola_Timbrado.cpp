#include "generation/Cola_Timbrado.h"

#include <fmt/format.h>

#include <cctype>
#include <cerrno>

#include "data/Log.h"
#include "generation/Archivo_Timbrar.h"
#include "generation/Estado_Generacion.h"
#include "generation/Fecha_Factura.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "issuing_config/Zona_Sucursal.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr long kError_Tipos = 13;
constexpr std::string_view kSeparador_Rutas = "  --  ";
constexpr mode_t kSolo_Lectura = 0444;

struct Rutas_Archivo {
    std::string cola;
    std::string oculta;
    std::string temporal;  // the working copy in the program folder
    // The folders involved, as the operator reads them in a failure.
    std::string texto;
};

Fecha_Hora Fecha_de(const Solicitud_Factura& solicitud) {
    const auto fecha = Leer_Fecha_Hora(solicitud.Fecha);
    if (!fecha)
        throw Error_Plataforma(kError_Tipos, "No coinciden los tipos: fecha de la solicitud \"" +
                                                 solicitud.Fecha + "\"");
    return *fecha;
}

Rutas_Archivo Armar_Rutas(const Datos_Emision& emisor, const std::string& nombre,
                          const std::string& nombre_oculto, const Fecha_Hora& ahora) {
    Rutas_Archivo rutas;
    rutas.cola = Unir_Ruta(emisor.Ruta_Cola_Facturas, nombre);
    rutas.oculta = Unir_Ruta(emisor.Ruta_Cola_Facturas, nombre_oculto);
    rutas.temporal = Unir_Ruta(
        Carpeta_Programa(),
        fmt::format("_{:02}_{:02}_{:02}_", ahora.Hora, ahora.Minuto, ahora.Segundo) + nombre);
    rutas.texto = "Validas: " + emisor.Ruta_Facturas_Validas + "  -  " + rutas.temporal +
                  "  ---- Para timbrar: " + rutas.cola;
    return rutas;
}

void Mostrar_Archivo(const std::string& nombre) {
    const auto& mostrar = Estado_Generacion_Actual().Mostrar_Archivo;
    if (mostrar)
        mostrar(nombre);
}

// The complete file, read-only, in the program folder, then the same bytes under its hidden name
// in the queue folder, on disk there, so that it outlives a power cut once the request is
// committed. (The file systems of a Linux server journal a new file's name with it, so flushing
// the file keeps its name as well.) Both are created new: a link or a pipe that a member of the
// folders' group planted at either name is removed, never written through.
void Escribir_y_Copiar(const std::string& texto, const Rutas_Archivo& rutas) {
    const std::string bytes = A_Windows_1252(texto);
    Crear_Archivo_Nuevo(rutas.temporal, bytes, kSolo_Lectura);
    Crear_Archivo_Nuevo(rutas.oculta, bytes, kSolo_Lectura);
    Borrar_Archivo_Ignorando_Errores(rutas.temporal);
}

// "_hh_mm_ss_", the time a working copy was written.
bool Empieza_Con_Hora(std::string_view nombre) {
    constexpr std::string_view kMolde = "_##_##_##_";
    if (nombre.size() < kMolde.size())
        return false;
    for (size_t i = 0; i < kMolde.size(); ++i)
        if (kMolde[i] == '#' ? !std::isdigit(static_cast<unsigned char>(nombre[i]))
                             : nombre[i] != kMolde[i])
            return false;
    return true;
}

}  // namespace

Error_Archivo_Timbrar Error_Sin_Rutas(const std::string& descripcion) {
    return Error_Archivo_Timbrar("Rutas: " + std::string(kSeparador_Rutas) + descripcion);
}

Archivo_Preparado Crear_Archivo_para_Timbrar(const Solicitud_Factura& solicitud,
                                             const Datos_Emision& emisor, const std::string& serie,
                                             int32_t folio, const std::string& nombre_oculto) {
    Rutas_Archivo rutas;
    try {
        // The invoice is dated in the branch's own time; the working copy's name is the program's
        // own bookkeeping, in the machine's.
        const Fecha_Hora ahora = Ahora();
        const std::string fecha = Fecha_para_Timbrar(
            Fecha_de(solicitud), Relojes_Sucursal(solicitud.ID_Sucursal), Instante_Ahora());
        const std::string nombre = Nombre_Archivo_para_Timbrar(serie, folio);
        Mostrar_Archivo(nombre);
        rutas = Armar_Rutas(emisor, nombre, nombre_oculto, ahora);
        const std::string sucursal = "La sucursal " + std::to_string(solicitud.ID_Sucursal);
        if (emisor.Ruta_Cola_Facturas.empty())
            throw Error_Plataforma(ENOENT, sucursal + " no tiene carpeta de cola de facturas");
        if (Sube_de_Carpeta(emisor.Ruta_Cola_Facturas))
            throw Error_Plataforma(EINVAL, sucursal +
                                               " tiene una carpeta de cola de facturas que "
                                               "sube de carpeta con '..'");
        Borrar_Archivo_Ignorando_Errores(Unir_Ruta(emisor.Ruta_Cola_Facturas, "Cancelar.xml"));
        Escribir_y_Copiar(Texto_para_Timbrar(solicitud, emisor, serie, folio, fecha), rutas);
        return {Archivo_Base(serie, folio), emisor.Ruta_Facturas_Validas, emisor.Ruta_Cola_Facturas,
                rutas.cola, rutas.oculta};
    } catch (const Error_Plataforma& e) {
        if (!rutas.temporal.empty()) {
            Borrar_Archivo_Ignorando_Errores(rutas.temporal);
            Borrar_Archivo_Ignorando_Errores(rutas.oculta);
        }
        throw Error_Archivo_Timbrar("Rutas: " + rutas.texto + std::string(kSeparador_Rutas) +
                                    e.Descripcion);
    }
}

std::optional<std::string> Publicar_Archivo(const std::string& carpeta_cola,
                                            const std::string& oculta, const std::string& cola) {
    try {
        Renombrar_Archivo(oculta, cola);
    } catch (const Error_Plataforma& e) {
        // The waiting file gone from a folder that is there: another copy's recovery published
        // it first (this copy, paused after its COMMIT, lost the lease meanwhile), and the file
        // is where it should be.
        if (e.Numero == ENOENT && Existe_Carpeta(carpeta_cola) && !Existe_Archivo(oculta))
            return std::nullopt;
        return e.Descripcion;
    }
    // Lost to a power cut, the rename comes back as the waiting file, which the recovery of the
    // queue publishes again; so a failure here is no reason to stop.
    try {
        Asegurar_Carpeta_en_Disco(carpeta_cola);
    } catch (const Error_Plataforma&) {
    }
    return std::nullopt;
}

std::optional<std::string> Publicar_o_Esperar(const std::string& carpeta_cola,
                                              const std::string& oculta, const std::string& cola) {
    const auto falla = Publicar_Archivo(carpeta_cola, oculta, cola);
    if (!falla) {
        Olvidar_Aviso("publicar " + oculta);
        return std::nullopt;
    }
    Estado_Generacion_Actual().Temporales_en_Cola.emplace(cola, oculta);
    if (!Primer_Aviso("publicar " + oculta))
        return std::nullopt;
    return "No se pudo poner en la cola el archivo para timbrar " + cola + " (" + *falla +
           "); queda como " + oculta + " y se reintentará.";
}

bool Es_Copia_de_Trabajo(std::string_view nombre) {
    return Empieza_Con_Hora(nombre) && nombre.substr(10).starts_with("Factura ") &&
           nombre.ends_with(".txt");
}

void Avisar_Error_Archivo_para_Timbrar(int32_t id_solicitud, const Error_Archivo_Timbrar& error) {
    const std::string id = std::to_string(id_solicitud);
    Avisar_Falla_Repetida(
        "solicitud " + id, "archivo para timbrar",
        "Solicitud ID: " + id + " - Error creando archivo para timbrar - " + error.what());
    // Without a display the line above is what the operator would read: shown again, it would
    // come every cycle, its working copy's name changing every second.
    if (!Operador_Actual().Sin_Pantalla())
        Operador_Actual().Mensaje_Estandar(error.what(), "Error creando archivo para timbrar");
}

}  // namespace facturador

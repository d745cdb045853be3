#include "generation/Reencolado.h"

#include <stdexcept>

#include "data/Conexiones.h"
#include "data/Log.h"
#include "data/Turno_Central.h"
#include "data/Valores_Campo.h"
#include "generation/Cola_Timbrado.h"
#include "generation/Folios.h"
#include "generation/Ocupacion_Folio.h"
#include "generation/Solicitudes.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "issuing_config/Serie_Facturas.h"
#include "issuing_config/Zona_Sucursal.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

// Why the file is not written again.
class Negativa : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A file or result of the request is already there.
class Ya_Existe : public Negativa {
  public:
    explicit Ya_Existe(std::string ruta) : Negativa("ya existe " + ruta + "."), ruta_(std::move(ruta)) {}
    const std::string& Ruta() const { return ruta_; }

  private:
    std::string ruta_;
};

struct Datos_Reencolado {
    Solicitud_Factura solicitud;
    Serie_y_Folio serie_folio;
    Datos_Emision perfil;
    int64_t epoca = 0;  // the lease's, as the worker settles waiting files up to its own
};

// The branch's profile as the database holds it now, its zone chosen from it as the worker
// chooses it, so that the file is dated in the branch's time whatever this machine's zone. A
// branch the worker holds gets no file either.
Datos_Emision Leer_Perfil(Conexion& conexion, int32_t sucursal) {
    Recordset rs =
        conexion.Ejecutar("SELECT * FROM Configuracion_Facturas_Electronicas WHERE ID_Sucursal = " +
                          std::to_string(sucursal));
    if (rs.Fin())
        throw Negativa("la sucursal " + std::to_string(sucursal) + " no tiene perfil de emisión.");
    const Datos_Emision perfil = Leer_Datos_Emision(rs);
    Fijar_Zona_Sucursal(perfil, Leer_Ajustes_Zona(conexion));
    if (const auto motivo = Motivo_Sucursal_Detenida(perfil, Zona_de_Sucursal(sucursal)))
        throw Negativa("la sucursal " + std::to_string(sucursal) +
                       " no emite facturas mientras tenga este error: " + *motivo + ".");
    return perfil;
}

// The request in status 2, its series and folio as its file carries them, and its branch's
// profile as the database holds it now.
Datos_Reencolado Leer_Datos(Conexion& conexion, int32_t id) {
    Recordset rs = conexion.Ejecutar("SELECT * FROM Solicitudes_de_Facturas_OL WHERE ID = " +
                                     std::to_string(id));
    if (rs.Fin())
        throw Negativa("la solicitud no existe.");
    if (Valor_Inicial(rs.Texto("Status")) != 2)
        throw Negativa("la solicitud está en status " + rs.Texto("Status") +
                       " y sólo se reencola una solicitud en status 2.");
    Solicitud_Invalida falla;
    const auto solicitud = Leer_Solicitud(rs, falla);
    if (!solicitud)
        throw Negativa("la columna " + falla.Columna + " de la solicitud no se puede leer.");
    const Serie_y_Folio sf = Serie_y_Folio_Propios(*solicitud);
    if (sf.Serie.empty() || !Serie_Valida(sf.Serie))
        throw Negativa("su Serie \"" + Sin_Controles(sf.Serie) + "\" no se puede usar. " +
                       kMotivo_Serie_Invalida + ".");
    if (rs.Texto("Archivo") != Archivo_Base(sf.Serie, sf.Folio))
        throw Negativa("su Archivo \"" + Sin_Controles(rs.Texto("Archivo")) +
                       "\" no corresponde a su Serie y Folio.");
    const auto turno = Leer_Turno(conexion);
    return {*solicitud, sf, Leer_Perfil(conexion, solicitud->ID_Sucursal),
            turno ? turno->Epoca : 0};
}

Datos_Reencolado Leer_Datos(int32_t id) {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    try {
        Datos_Reencolado datos = Leer_Datos(conexion, id);
        Cerrar_Conexion(conexion);
        return datos;
    } catch (...) {
        Cerrar_Conexion(conexion);
        throw;
    }
}

void Comprobar_Sin_Archivos(const Datos_Reencolado& d) {
    const auto existente = Archivo_Existente(
        d.perfil, d.serie_folio, Temporales_en_Carpeta(d.perfil.Ruta_Cola_Facturas));
    if (existente)
        throw Ya_Existe(*existente);
}

// Written under a hidden name of its own, which the recovery of the queue leaves alone, and once
// complete on disk renamed to the name of a file waiting for its request's commit. Publishing it
// is the worker's: its recovery of the queue, fenced by the lease, publishes the waiting file of
// a request in status 2 that names it, and never twice.
std::string Escribir_de_Nuevo(const Datos_Reencolado& d) {
    const Serie_y_Folio& sf = d.serie_folio;
    Comprobar_Sin_Archivos(d);
    const std::string nombre = Nombre_Archivo_para_Timbrar(sf.Serie, sf.Folio);
    const Archivo_Preparado archivo = Crear_Archivo_para_Timbrar(
        d.solicitud, d.perfil, sf.Serie, sf.Folio,
        "." + nombre + "." + std::to_string(d.solicitud.ID) + ".reencolando");
    const std::string en_espera =
        Unir_Ruta(archivo.Carpeta_Cola, Nombre_Temporal_en_Cola(nombre, d.solicitud.ID, d.epoca));
    try {
        Renombrar_Archivo(archivo.Ruta_Oculta, en_espera);
    } catch (const Error_Plataforma& e) {
        Borrar_Archivo_Ignorando_Errores(archivo.Ruta_Oculta);
        throw Negativa("no se pudo dejar en espera " + en_espera + ": " + e.Descripcion);
    }
    return archivo.Ruta_Cola;
}

}  // namespace

Resultado_Reencolado Reencolar_Solicitud(int32_t id_solicitud) {
    const std::string solicitud = "Solicitud ID: " + std::to_string(id_solicitud) + " - ";
    try {
        const std::string cola = Escribir_de_Nuevo(Leer_Datos(id_solicitud));
        const std::string mensaje = solicitud + "Se escribió de nuevo el archivo para timbrar " +
                                    cola + "; la copia que trabaja lo pone en la cola.";
        Escribir_Log(mensaje);
        return {true, mensaje, {}};
    } catch (const Error_Plataforma& e) {
        return {false,
                solicitud + "No se reencola: error " + std::to_string(e.Numero) + " - " +
                    e.Descripcion,
                {}};
    } catch (const Ya_Existe& e) {
        return {false, solicitud + "No se reencola: " + e.what(), e.Ruta()};
    } catch (const std::runtime_error& e) {
        return {false, solicitud + "No se reencola: " + e.what(), {}};
    }
}

std::optional<std::string> Impedimento_Reencolado(Conexion& conexion, int32_t id_solicitud) {
    try {
        const Datos_Reencolado datos = Leer_Datos(conexion, id_solicitud);
        try {
            Comprobar_Sin_Archivos(datos);
        } catch (const Error_Plataforma& e) {
            return "no se puede revisar la carpeta de cola " + datos.perfil.Ruta_Cola_Facturas +
                   ": " + e.Descripcion;
        }
        return std::nullopt;
    } catch (const Negativa& e) {
        return e.what();
    }
}

}  // namespace facturador

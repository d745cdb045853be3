#include "generation/Emision_Solicitud.h"

#include "data/Log.h"
#include "data/Sucursales.h"
#include "generation/Cola_Timbrado.h"
#include "generation/Folios.h"
#include "generation/Registro_Factura.h"
#include "generation/Unidad_Trabajo.h"

namespace facturador {

namespace {

std::string Encabezado_Log(const Solicitud_Factura& s) {
    return "Solicitud ID: " + std::to_string(s.ID) + " - Ticket Nro. " +
           std::to_string(s.Nro_Ticket) + " - ";
}

void Avisar_Sin_Serie(const Solicitud_Factura& s) {
    Escribir_Log("ID Solicitud: " + std::to_string(s.ID) + " -  " +
                 "No se encontró la Serie y Folio de facturas para la sucursal " +
                 Nombre_Sucursal(s.ID_Sucursal));
}

// A new request gets a new invoice row. One that keeps its own series and folio was registered
// when it first went to stamping, and its status-2 row must name that same invoice; only if that
// row is missing is it registered now.
int32_t Factura_de(Conexion& conexion, const Solicitud_Factura& s, const Serie_y_Folio& sf,
                   bool nueva) {
    if (!nueva)
        if (const auto registrada = Buscar_Factura_Registrada(conexion, sf, s.ID_Sucursal))
            return *registrada;
    return Registrar_Factura(conexion, s.Nro_Ticket, sf, s.Total, s.ID_Sucursal);
}

}  // namespace

void Emitir_Solicitud(Conexion& conexion, const Solicitud_Factura& solicitud,
                      Progreso_Pase& progreso) {
    // A request carrying only one of series and folio takes both anew, like a new one.
    const bool nueva = !Tiene_Serie_y_Folio_Propios(solicitud);
    Unidad_Trabajo unidad(conexion);
    const Serie_y_Folio sf = nueva ? Obtener_Serie_y_Folio(conexion, solicitud.ID_Sucursal)
                                   : Serie_y_Folio_Propios(solicitud);
    if (sf.Serie.empty()) {
        unidad.Deshacer();
        Avisar_Sin_Serie(solicitud);
        return;
    }
    Escribir_Log(Encabezado_Log(solicitud) + "Se inicia el proceso para el timbrado.");

    progreso.Paso = "Crear Archivo para timbrar";
    Archivo_Encolado archivo;
    try {
        archivo = Crear_Archivo_para_Timbrar(solicitud, sf.Serie, sf.Folio);
    } catch (const Error_Archivo_Timbrar& error) {
        // Released before the operator is asked to read the message, which may take a while.
        unidad.Deshacer();
        Avisar_Error_Archivo_para_Timbrar(solicitud.ID, error);
        return;
    }
    unidad.Archivo_Encolado(archivo.Ruta_Cola);

    progreso.Paso = "Registrar factura";
    const int32_t id_factura = Factura_de(conexion, solicitud, sf, nueva);
    progreso.Paso = "Actualizar status de solicitud";
    Actualizar_Status_Solicitud(conexion, solicitud, sf, id_factura, archivo);
    if (nueva) {
        progreso.Paso = "Actualizar proximo folio a emitir";
        Actualizar_Proximo_Folio(conexion, solicitud.ID_Sucursal);
    }
    unidad.Confirmar();
    Escribir_Log(Encabezado_Log(solicitud) + "Se completó el proceso para el timbrado.");
}

}  // namespace facturador

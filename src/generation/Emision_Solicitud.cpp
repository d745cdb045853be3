#include "generation/Emision_Solicitud.h"

#include "data/Sucursales.h"
#include "data/Turno_Central.h"
#include "generation/Cola_Timbrado.h"
#include "generation/Diario_Diferido.h"
#include "generation/Eleccion_Folio.h"
#include "generation/Estado_Generacion.h"
#include "generation/Registro_Factura.h"
#include "generation/Unidad_Trabajo.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

constexpr const char* kYa_No_Pendiente =
    "La solicitud ya no estaba pendiente al enviarla a timbrar: otra copia del programa la "
    "atendió. No se emitió nada.";

// Every pending request of the branch meets it on every cycle: told once an hour per branch.
void Avisar_Sin_Serie(const Solicitud_Factura& s) {
    Avisar_Falla_Repetida("sucursal " + std::to_string(s.ID_Sucursal), "sin serie",
                          "ID Solicitud: " + std::to_string(s.ID) + " -  " +
                              "No se encontró la Serie y Folio de facturas para la sucursal " +
                              Nombre_Sucursal(s.ID_Sucursal));
}

// The file to stamp, waiting in the queue folder under the request's temporary name.
Archivo_Preparado Preparar_Archivo(const Solicitud_Factura& s, const Eleccion_Folio& eleccion,
                                   const Datos_Emision& perfil) {
    const Serie_y_Folio& sf = eleccion.Serie_Folio;
    return Crear_Archivo_para_Timbrar(
        s, perfil, sf.Serie, sf.Folio,
        Nombre_Temporal_en_Cola(Nombre_Archivo_para_Timbrar(sf.Serie, sf.Folio), s.ID,
                                Turno_Programa().Epoca()));
}

// Registration, status 2 and the counter, on the unit's connection. False, with nothing to
// commit, when the request is no longer pending.
bool Registrar_Envio(Conexion& conexion, const Solicitud_Factura& s, const Eleccion_Folio& e,
                     const Archivo_Preparado& archivo, Progreso_Pase& progreso) {
    progreso.Paso = "Registrar factura";
    const int32_t id_factura =
        e.Nueva ? Registrar_Factura(conexion, s.Nro_Ticket, e.Serie_Folio, s.Total, s.ID_Sucursal)
                : e.ID_Factura;
    progreso.Paso = "Actualizar status de solicitud";
    if (!Bloquear_Solicitud_Pendiente(conexion, s.ID))
        return false;
    Actualizar_Status_Solicitud(conexion, s, e.Serie_Folio, id_factura, archivo);
    if (e.Nueva) {
        progreso.Paso = "Actualizar proximo folio a emitir";
        Actualizar_Proximo_Folio(conexion, s.ID_Sucursal);
    }
    return true;
}

// After COMMIT. A file that cannot take its name now waits under its temporary one, and every
// later pass tries again before anything else.
void Publicar(const Solicitud_Factura& s, const Archivo_Preparado& archivo,
              Diario_Diferido& diario) {
    if (const auto aviso =
            Publicar_o_Esperar(archivo.Carpeta_Cola, archivo.Ruta_Oculta, archivo.Ruta_Cola))
        diario.Anotar(Encabezado_Log(s) + *aviso);
}

void Emitir_en_Unidad(Conexion& conexion, const Solicitud_Factura& s, Progreso_Pase& progreso,
                      Unidad_Trabajo& unidad, Diario_Diferido& diario) {
    Eleccion_Folio eleccion = Elegir_Serie_y_Folio(conexion, s, diario);
    if (eleccion.Serie_Folio.Serie.empty()) {
        unidad.Deshacer();
        diario.Escribir(false);
        return Avisar_Sin_Serie(s);
    }
    const Datos_Emision perfil = Obtener_Datos_Emision(s.ID_Sucursal);
    Archivo_Preparado archivo;
    try {
        Comprobar_Serie_y_Folio(eleccion, s.ID_Sucursal);
        if (eleccion.Nueva && !Saltar_Folios_Ocupados(conexion, s, perfil, eleccion, diario)) {
            unidad.Confirmar();  // the skipped folios stay behind the counter
            return diario.Escribir(true);
        }
        diario.Anotar_Si_Confirma(Encabezado_Log(s) + "Se inicia el proceso para el timbrado.");
        progreso.Paso = "Crear Archivo para timbrar";
        archivo = Preparar_Archivo(s, eleccion, perfil);
    } catch (const Error_Archivo_Timbrar& error) {
        unidad.Deshacer();
        diario.Escribir(false);
        return Avisar_Error_Archivo_para_Timbrar(s.ID, error);
    }
    unidad.Archivo_Preparado(archivo.Ruta_Oculta);
    if (!Registrar_Envio(conexion, s, eleccion, archivo, progreso)) {
        unidad.Deshacer();
        diario.Anotar(Encabezado_Log(s) + kYa_No_Pendiente);
        return diario.Escribir(false);
    }
    unidad.Confirmar();
    Publicar(s, archivo, diario);
    diario.Anotar(Encabezado_Log(s) + "Se completó el proceso para el timbrado.");
    diario.Escribir(true);
}

}  // namespace

void Emitir_Solicitud(Conexion& conexion, const Solicitud_Factura& solicitud,
                      Progreso_Pase& progreso) {
    Diario_Diferido diario;
    Unidad_Trabajo unidad(conexion);
    try {
        Emitir_en_Unidad(conexion, solicitud, progreso, unidad, diario);
    } catch (const Error_Plataforma& e) {
        unidad.Deshacer();
        // A unit that met a conflict, or found the lease gone, did nothing worth telling: it is
        // simply tried again, here or by the copy that works now.
        // A COMMIT that failed may or may not have reached the server: its work is not told.
        if (!Es_Conflicto(e.Numero) && e.Numero != kError_Sin_Turno)
            diario.Escribir(unidad.Confirmada());
        throw;
    } catch (...) {
        unidad.Deshacer();
        // A COMMIT that failed may or may not have reached the server: its work is not told.
        diario.Escribir(unidad.Confirmada());
        throw;
    }
}

}  // namespace facturador

#include "generation/Generacion.h"

#include <exception>

#include "data/Log.h"
#include "data/Rechazo_Solicitud.h"
#include "data/Registro_Fallas.h"
#include "data/Turno_Central.h"
#include "generation/Emision_Solicitud.h"
#include "generation/Estado_Generacion.h"
#include "generation/Recuperacion_Cola.h"
#include "generation/Revision_Perfiles.h"
#include "generation/Validacion_Fiscal.h"
#include "generation/Validacion_Ticket.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

void Procesar_Solicitud(Conexion& conexion, const Solicitud_Factura& solicitud,
                        Progreso_Pase& progreso) {
    progreso.ID = solicitud.ID;
    progreso.Ticket = std::to_string(solicitud.Nro_Ticket);
    std::string motivo;
    if (!Validar_Monto_Ticket(conexion, solicitud.Nro_Ticket, solicitud.ID_Sucursal,
                              solicitud.Total, motivo) ||
        !Validar_Datos_Fiscales(solicitud, motivo)) {
        Rechazar_Solicitud(solicitud.ID, motivo);
        Escribir_Log("Solicitud ID: " + std::to_string(solicitud.ID) + " - " + progreso.Ticket +
                     " - " + motivo);
        return;
    }
    Emitir_Solicitud(conexion, solicitud, progreso);
}

// A request whose unit met a conflict with another writer was rolled back whole: it waits for
// the next cycle, and the pass goes on with the others.
void Procesar_Tolerando_Conflictos(Conexion& conexion, const Solicitud_Factura& solicitud,
                                   Progreso_Pase& progreso) {
    try {
        Procesar_Solicitud(conexion, solicitud, progreso);
    } catch (const Error_Plataforma& e) {
        if (!Es_Conflicto(e.Numero))
            throw;
        Fallas_Programa().Registrar_Conflicto(
            e.Descripcion, "Solicitud ID: " + std::to_string(solicitud.ID) + " - " + progreso.Paso);
    }
}

// A failure that ends the pass at the same request every cycle is logged once an hour.
void Avisar_Error_Pase(const Progreso_Pase& progreso, const std::string& descripcion) {
    const std::string id = std::to_string(progreso.ID);
    const std::string mensaje =
        "Error en solicitud: " + id + " - Ticket Nro. " + progreso.Ticket + " - " + progreso.Paso;
    Avisar_Falla_Repetida("solicitud " + id, "pase", mensaje + "  --  " + descripcion);
    // Without a display the line above is what the operator would read.
    if (!Operador_Actual().Sin_Pantalla())
        Operador_Actual().Mensaje_Estandar(mensaje, "Error en generar archivos para timbrar");
}

}  // namespace

bool Generar_Archivos_para_Timbrar(Conexion& conexion_ciclo) {
    Progreso_Pase progreso;
    try {
        Recuperar_Archivos_en_Cola(conexion_ciclo);
        const std::set<int32_t> sin_emision = Revisar_Perfiles_de_Emision();
        Cargar_Solicitudes_Pendientes(conexion_ciclo);
        // One request at a time, by copy: nothing the pass calls may pull the list from under it.
        for (size_t i = 0; i < Solicitudes_Pendientes().size(); ++i) {
            const Solicitud_Factura solicitud = Solicitudes_Pendientes()[i];
            if (!sin_emision.contains(solicitud.ID_Sucursal))
                Procesar_Tolerando_Conflictos(conexion_ciclo, solicitud, progreso);
            // A backlog of thousands takes minutes, at about a hundred a second: each request
            // settled tells the service manager the pass is moving, not hung.
            Notificar_Servicio("WATCHDOG=1");
        }
        Cargar_Solicitudes_Pendientes(conexion_ciclo);
        Cerrar_Ronda_de_Fallas();
        return true;
    } catch (const Error_Plataforma& e) {
        // Without the lease the pass just stops: another copy works now.
        if (e.Numero != kError_Sin_Turno)
            Avisar_Error_Pase(progreso, std::to_string(e.Numero) + " - " + e.Descripcion);
    } catch (const std::exception& e) {
        Avisar_Error_Pase(progreso, e.what());
    }
    return false;
}

}  // namespace facturador

#include "app/Seguimiento_Solicitudes.h"

#include "app/Estado_Aplicacion.h"
#include "app/Solicitudes_En_Espera.h"
#include "data/Conexiones.h"
#include "data/Log.h"
#include "data/Sucursales.h"
#include "platform/Entorno.h"

namespace facturador {

namespace {

// On a connection of its own, closed also when the reading fails.
std::vector<Solicitud_En_Espera> Leer_En_Espera() {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    std::vector<Solicitud_En_Espera> solicitudes = Leer_Solicitudes_En_Espera(conexion);
    Cerrar_Conexion(conexion);
    return solicitudes;
}

void Avisar_Sin_RFC(const Solicitud_En_Espera& solicitud) {
    const std::string nombre = Nombre_Sucursal(solicitud.ID_Sucursal);
    Escribir_Log("Solicitud ID: " + std::to_string(solicitud.ID) + " - Sucursal: " +
                 (nombre.empty() ? std::to_string(solicitud.ID_Sucursal) : nombre) +
                 " - No tiene RFC del receptor: queda en status 1 y no se facturará mientras no "
                 "lo tenga.");
}

}  // namespace

void Revisar_Solicitudes_En_Espera() {
    const Fecha_Hora ahora = Ahora();
    const std::vector<Solicitud_En_Espera> solicitudes = Leer_En_Espera();
    Seguimiento_Solicitudes& s = Estado_App().seguimiento;
    std::map<Clave_Espera, Fecha_Hora> vistas;
    std::set<int32_t> sin_rfc;
    for (const Solicitud_En_Espera& solicitud : solicitudes) {
        const Clave_Espera clave{solicitud.Status, solicitud.ID};
        const auto vista = s.Vistas.find(clave);
        vistas.emplace(clave, vista == s.Vistas.end() ? ahora : vista->second);
        if (!solicitud.Sin_RFC)
            continue;
        if (!s.Sin_RFC_Avisadas.contains(solicitud.ID))
            Avisar_Sin_RFC(solicitud);
        sin_rfc.insert(solicitud.ID);
    }
    s.Vistas = std::move(vistas);
    s.Sin_RFC_Avisadas = std::move(sin_rfc);
    s.Revision = ahora;
}

void Publicar_Estado(bool ciclo_exitoso) {
    Seguimiento_Solicitudes& s = Estado_App().seguimiento;
    s.Ultimo_Ciclo = Ahora();
    if (ciclo_exitoso)
        s.Ultimo_Ciclo_Exitoso = Ahora();
    Escribir_Estado_Publicado({s, Observaciones_Recepcion_Actuales()});
}

void Recuperar_Seguimiento() {
    Estado_App().seguimiento = Cargar_Estado_Publicado().Seguimiento;
}

}  // namespace facturador

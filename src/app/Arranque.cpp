#include "app/Arranque.h"

#include "app/Estado_Aplicacion.h"
#include "app/Seguimiento_Solicitudes.h"
#include "app/Turno_Trabajo.h"
#include "data/Configuracion.h"
#include "data/Sentencias_Pendientes.h"
#include "data/Sucursales.h"
#include "data/Tablas_Propias.h"
#include "generation/Recuperacion_Cola.h"
#include "intake/Recepcion.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Zona_Sucursal.h"

namespace facturador {

namespace {

constexpr const char* kPaso_Configuracion = "Cargar la configuración";
constexpr const char* kPaso_Sucursales = "Cargar las sucursales";
constexpr const char* kPaso_Datos_Emision = "Cargar los datos de emisión de las sucursales";
constexpr const char* kPaso_Tablas = "Crear las tablas propias que falten en la base central";
constexpr const char* kPaso_Rechazadas = "Revisar comprobantes con errores de timbrado";
constexpr const char* kPaso_Recuperar_Cola = "Revisar los archivos para timbrar en espera";
constexpr const char* kPaso_Copias = "Borrar las copias de trabajo de archivos para timbrar";
constexpr const char* kPaso_Publicar = "Publicar el estado del facturador";

void Cargar_Sucursales_Registrando_Falla() {
    Estado_App().sucursales_por_cargar =
        !Ejecutar_Registrando_Falla(kPaso_Sucursales, Cargar_Sucursales);
}

// The profiles come with each branch's time zone, whose overrides live in a table of the program's
// own: it is created first when missing. The zones are written to the daily log once loaded.
void Cargar_Datos_de_Emision_Registrando_Falla() {
    Ejecutar_Registrando_Falla(kPaso_Tablas, Crear_Tablas_Propias);
    Estado_App().datos_emision_por_cargar =
        !Ejecutar_Registrando_Falla(kPaso_Datos_Emision, [] { Cargar_Datos_de_Emision(); });
    if (!Estado_App().datos_emision_por_cargar)
        Anotar_Zonas_Sucursales();
}

}  // namespace

Resultado_Arranque Cargar_Datos_Iniciales() {
    Recuperar_Seguimiento();
    Ejecutar_Registrando_Falla(kPaso_Publicar, [] { Publicar_Estado(false); });
    // What Cargar_Configuracion cannot settle with the operator is logged: the program still comes
    // up, and each cycle sets the run times again.
    bool terminar = false;
    Ejecutar_Registrando_Falla(kPaso_Configuracion, [&] {
        terminar = Cargar_Configuracion() == Resultado_Configuracion::Terminar_Programa;
    });
    if (terminar)
        return Resultado_Arranque::Terminar_Programa;
    Cargar_Sucursales_Registrando_Falla();
    Cargar_Datos_de_Emision_Registrando_Falla();
    Ejecutar_Registrando_Falla(kPaso_Copias, Borrar_Copias_de_Trabajo);
    // Only the worker touches the queue folders: a copy starting beside it must not settle a file
    // whose unit is still open there. Without the profiles the queue folders are unknown; the first
    // pass settles them instead.
    if (!Estado_App().datos_emision_por_cargar &&
        Asegurar_Turno_de_Trabajo() == Estado_Turno::Tenido)
        Ejecutar_Registrando_Falla(kPaso_Recuperar_Cola, Recuperar_Cola_al_Arrancar);
    return Resultado_Arranque::Continuar;
}

void Revisar_Rechazadas_Al_Arrancar() {
    if (!Tiene_Turno_de_Trabajo())
        return;  // the copy that takes the lease over looks at them then
    Reiniciar_Sentencias_Pendientes();
    Ejecutar_Registrando_Falla(kPaso_Rechazadas, Almacenar_Comprobantes_con_Errores_de_Timbrados);
    Ejecutar_Sentencias_Pendientes();
}

bool Completar_Datos_Pendientes() {
    if (Estado_App().sucursales_por_cargar)
        Cargar_Sucursales_Registrando_Falla();
    if (Estado_App().datos_emision_por_cargar)
        Cargar_Datos_de_Emision_Registrando_Falla();
    return !Estado_App().sucursales_por_cargar && !Estado_App().datos_emision_por_cargar;
}

}  // namespace facturador

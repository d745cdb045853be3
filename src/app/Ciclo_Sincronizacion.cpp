#include "app/Ciclo_Sincronizacion.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>

#include "app/Arranque.h"
#include "app/Aviso_Servicio.h"
#include "app/Estado_Aplicacion.h"
#include "app/Seguimiento_Solicitudes.h"
#include "app/Turno_Trabajo.h"
#include "data/Conexiones.h"
#include "data/Configuracion.h"
#include "data/Log.h"
#include "data/Poda_Log.h"
#include "data/Sentencias_Pendientes.h"
#include "generation/Generacion.h"
#include "generation/Pedidos_Reencolado.h"
#include "intake/Recepcion.h"
#include "issuing_config/Cambios_Perfiles.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"

namespace facturador {

namespace {

constexpr const char* kPaso_Abrir = "Abrir la conexión del ciclo con la base de datos central";
constexpr const char* kPaso_Generacion = "Generar archivos para timbrar";
constexpr const char* kPaso_Recepcion = "Almacenar comprobantes pendientes";
constexpr const char* kPaso_Rechazadas = "Revisar comprobantes con errores de timbrado";
constexpr const char* kPaso_Conteo = "Contar solicitudes rechazadas";
constexpr const char* kPaso_Seguimiento = "Revisar las solicitudes en espera";
constexpr const char* kPaso_Publicar = "Publicar el estado del facturador";
constexpr const char* kPaso_Podar = "Borrar las bitácoras diarias antiguas";
constexpr const char* kPaso_Perfiles = "Revisar si cambiaron los perfiles de emisión";
constexpr const char* kPaso_Reencolar = "Atender los pedidos de reencolado";

constexpr const char* kTitulo_Reactivar = "ATENCION";
constexpr const char* kPregunta_Reactivar =
    "Se reactivarán las Solicitudes de Facturas ingresadas a partir del 31-julio-2024 y que "
    "quedaron como Rechazadas.";
constexpr const char* kTitulo_Falla_Reactivar = "Se produjo un error";
constexpr const char* kMensaje_Falla_Reactivar =
    "No se pudieron reactivar las Solicitudes de Facturas rechazadas; ninguna fue modificada. "
    "Detalle: ";
constexpr const char* kMensaje_Reactivar_Sin_Saber =
    "Se perdió la conexión con la base de datos central mientras se reactivaban las Solicitudes "
    "de Facturas rechazadas; no se sabe si quedaron reactivadas. Vuelva a pulsar DesRechazar "
    "para reactivarlas. Detalle: ";

constexpr const char* kArchivo_Errores_Timbrado = "Log_Error_Timbrado.txt";
constexpr const char* kTitulo_Sin_Errores_Timbrado = "Atención";

// Keeps En_Curso() true from its creation to its end, nested uses included.
class Marca_En_Curso {
  public:
    explicit Marca_En_Curso(bool& en_curso) : en_curso_(en_curso), previo_(en_curso) {
        en_curso_ = true;
    }
    ~Marca_En_Curso() { en_curso_ = previo_; }
    Marca_En_Curso(const Marca_En_Curso&) = delete;
    Marca_En_Curso& operator=(const Marca_En_Curso&) = delete;

  private:
    bool& en_curso_;
    bool previo_;
};

// The current minute plus 10 seconds: the seconds are dropped first, so 10:15:40 gives 10:15.
std::string Proxima_Sincronizacion_Desde(Fecha_Hora ahora) {
    ahora.Segundo = 0;
    return Formato_Fecha_Hora(Sumar_Segundos(ahora, 10));
}

// A console beside the worker cancels with the branches' folders and edits their profiles: it takes
// an edit made elsewhere as the worker does. The profiles are read where the view runs its
// queries, and taken here.
void Tomar_Perfiles_Cambiados_en_Consola(Lugar_Consultas& lugar) {
    Ejecutar_Registrando_Falla(kPaso_Perfiles, [&lugar] {
        std::optional<Lectura_Datos_Emision> nuevos =
            Consultar_en_Conexion<std::optional<Lectura_Datos_Emision>>(
                lugar, [conocida = Huella_Datos_de_Emision()](Conexion& conexion) {
                    return Leer_Perfiles_Cambiados(conexion, conocida);
                });
        if (nuevos)
            Fijar_Datos_de_Emision(std::move(*nuevos));
    });
}

// The lease renewed on a copy, where the view runs its queries, and the copy taken back.
Estado_Turno Renovar_Turno(Lugar_Consultas& lugar, Turno_Central& turno) {
    auto copia = std::make_shared<Turno_Central>(turno);
    const Estado_Turno estado = Consultar_Central<Estado_Turno>(
        lugar, [copia](const Abrir_Central& abrir) { return copia->Asegurar(abrir); });
    turno = *copia;
    return estado;
}

// The first cycle of each day removes the daily logs older than the setting allows, and tells the
// new day's log when the central account still has its factory password.
void Tareas_del_Dia() {
    const Fecha_Hora hoy = Solo_Fecha(Ahora());
    std::optional<Fecha_Hora>& ultima = Estado_App().poda_logs;
    if (ultima == hoy)
        return;
    ultima = hoy;
    Ejecutar_Registrando_Falla(kPaso_Podar, [] { Podar_Logs(Configuracion().Dias_Conservar_Log); });
    if (Usa_Contrasena_de_Fabrica())
        Escribir_Log(kAviso_Contrasena_de_Fabrica);
}

// The operator asked for it, so whatever keeps it from happening is told to the operator. Any
// copy reactivates, the worker or a console beside it: the requests go back to pending, which only
// the worker then takes. The statement runs where the view runs its queries.
void Reactivar_Avisando_Al_Operador(Lugar_Consultas& lugar) {
    try {
        Consultar_en_Conexion<void>(
            lugar, [](Conexion& conexion) { Reactivar_Solicitudes_Rechazadas(conexion); });
    } catch (const std::exception& e) {
        Operador_Actual().Mostrar_Advertencia(
            kTitulo_Falla_Reactivar,
            (Respuesta_Perdida(e) ? kMensaje_Reactivar_Sin_Saber : kMensaje_Falla_Reactivar) +
                std::string(e.what()));
    }
}

}  // namespace

void Ciclo_Sincronizacion::tmrTimer_Timer() {
    if (en_curso_)
        return;
    Marca_En_Curso marca(en_curso_);
    Reiniciar_Sentencias_Pendientes();
    Ejecutar_Ciclo();
    Ejecutar_Sentencias_Pendientes();
    Terminar_Ciclo();
}

void Ciclo_Sincronizacion::cmdSincronizar_Click() {
    if (en_curso_ || !vista_.Timer_Habilitado())
        return;
    Marca_En_Curso marca(en_curso_);
    vista_.Habilitar_Timer(false);
    Reiniciar_Sentencias_Pendientes();
    // Asked by hand, the cycle looks at the rejected requests as well.
    Iniciar_Revision_Rechazadas();
    Ejecutar_Ciclo();
    vista_.Habilitar_Timer(true);
    vista_.Habilitar_Ocultamiento(true);
    Ejecutar_Sentencias_Pendientes();
    Terminar_Ciclo();
}

void Ciclo_Sincronizacion::Ejecutar_Ciclo() {
    Marca_En_Curso marca(en_curso_);
    vista_.Habilitar_Timer(false);
    Configuracion().Proxima_Sincronizacion = Proxima_Sincronizacion_Desde(Ahora());
    vista_.Mostrar_Status(kStatus_Sincronizando);
    Realizar_Sincronizacion();
    vista_.Mostrar_Status(kStatus_Inactivo);
    vista_.Mostrar_Datos();
    vista_.Habilitar_Timer(true);
}

void Ciclo_Sincronizacion::Realizar_Sincronizacion() {
    const Fecha_Hora ahora = Ahora();
    Configuracion().Fecha_Ultima = Formato_Fecha(ahora);
    Configuracion().Hora_Ultima = Formato_Hora(ahora);
    vista_.Mostrar_Status(kStatus_Abriendo);
    vista_.Procesar_Eventos();
    pase_completo_ = false;
    const auto turno = Asegurar_Turno_de_Trabajo(
        [this](Turno_Central& propio) { return Renovar_Turno(vista_, propio); });
    Avisar_Progreso_al_Servicio();
    sin_servidor_ = turno == Estado_Turno::Sin_Servidor;
    if (turno == Estado_Turno::Tenido) {
        sin_servidor_ = !Generar_en_Conexion_Ciclo();
        if (!sin_servidor_)
            Recibir_Como_Trabajador();
    } else if (turno == Estado_Turno::Ocupado || turno == Estado_Turno::Sin_Permiso) {
        // The operator's console.
        if (!Estado_App().datos_emision_por_cargar)
            Tomar_Perfiles_Cambiados_en_Consola(vista_);
        Actualizar_Ver_Errores();
    }
    vista_.Mostrar_Status(kStatus_Inactivo);
}

// The worker's steps after the generation pass, each only while this copy still holds the lease
// (a unit that found it gone has given it up). Each step that ends is progress for the service
// manager's watchdog, whether or not it failed.
void Ciclo_Sincronizacion::Recibir_Como_Trabajador() {
    const auto paso = [](const char* nombre, void (*accion)()) {
        if (Tiene_Turno_de_Trabajo())
            Ejecutar_Registrando_Falla(nombre, accion);
        Avisar_Progreso_al_Servicio();
    };
    paso(kPaso_Recepcion, Almacenar_Comprobantes_Pendientes);
    paso(kPaso_Rechazadas, Almacenar_Comprobantes_con_Errores_de_Timbrados);
    Actualizar_Ver_Errores();
    paso(kPaso_Seguimiento, Revisar_Solicitudes_En_Espera);
}

// The generation pass on the cycle's own connection, closed right after it. Answers false when the
// central database could not be reached, and the rest of the cycle has nothing to work on. The
// pass waits while start-up data is still missing: without the branch names and profiles it would
// skip or misreport requests. A profile or zone override edited since the last load is loaded
// first, so the pass issues with it (and releases a branch whose profile was corrected). The
// operators' re-queue asks come before the pass, whose recovery of the queue then publishes their
// files in the same cycle.
bool Ciclo_Sincronizacion::Generar_en_Conexion_Ciclo() {
    const bool abierta = Ejecutar_Registrando_Falla(
        kPaso_Abrir, [this] { Abrir_Conexion_Central(conexion_ciclo_); });
    Avisar_Progreso_al_Servicio();
    if (abierta && Completar_Datos_Pendientes() &&
        Ejecutar_Registrando_Falla(kPaso_Perfiles,
                                   [this] { Tomar_Perfiles_Cambiados(conexion_ciclo_); })) {
        Ejecutar_Registrando_Falla(kPaso_Reencolar,
                                   [this] { Atender_Pedidos_Reencolado(conexion_ciclo_); });
        Ejecutar_Registrando_Falla(kPaso_Generacion, [this] {
            pase_completo_ = Generar_Archivos_para_Timbrar(conexion_ciclo_);
        });
    }
    Cerrar_Conexion_Ciclo();
    Avisar_Progreso_al_Servicio();
    return abierta;
}

void Ciclo_Sincronizacion::Cerrar_Conexion_Ciclo() noexcept {
    Cerrar_Conexion(conexion_ciclo_);
}

// lblLog and lblRechazadas follow the count; when the count cannot be made they stay as they were.
void Ciclo_Sincronizacion::Actualizar_Ver_Errores() {
    Ejecutar_Registrando_Falla(kPaso_Conteo, [this] {
        const long long rechazadas = Consultar_en_Conexion<long long>(
            vista_, [](Conexion& conexion) { return Contar_Solicitudes_Rechazadas(conexion); });
        vista_.Mostrar_Ver_Errores(rechazadas > 0);
        vista_.Mostrar_Rechazadas(rechazadas);
    });
}

// The end of a timed or manual cycle. It was successful when the generation pass went through
// and nothing failed, the statement batch included. The service manager hears here that the
// program is alive (and from a long pass, after each request). The timer is enabled once more
// because the view keeps it off while the cycle runs, also when a window opened meanwhile has
// closed.
void Ciclo_Sincronizacion::Terminar_Ciclo() {
    const bool exitoso = pase_completo_ && !Fallas_Programa().Falla_En_Ciclo();
    Ejecutar_Registrando_Falla(kPaso_Publicar, [exitoso] { Publicar_Estado(exitoso); });
    Tareas_del_Dia();
    Fallas_Programa().Cerrar_Ciclo();
    Avisar_Ciclo_al_Servicio(exitoso        ? Fin_Ciclo::Sin_Errores
                             : sin_servidor_ ? Fin_Ciclo::Sin_Servidor
                                             : Fin_Ciclo::Con_Errores);
    vista_.Habilitar_Timer(true);
}

void Ciclo_Sincronizacion::lblLog_Click() {
    const std::string propio = Unir_Ruta(Carpeta_Programa(), kArchivo_Errores_Timbrado);
    const std::string servicio = Unir_Ruta(Carpeta_del_Servicio(), kArchivo_Errores_Timbrado);
    const std::string ruta = Error_de_Lectura(propio) == 0 ? propio : servicio;
    const int error = Error_de_Lectura(ruta);
    if (error == 0)
        return Operador_Actual().Abrir_Documento(ruta);
    const std::string donde = propio == servicio ? propio : propio + " ni " + servicio;
    Operador_Actual().Mostrar_Advertencia(
        kTitulo_Sin_Errores_Timbrado,
        error == ENOENT ? "No hay registro de errores de timbrado: no existe " + donde + "."
                        : "No se puede leer " + ruta + ": " + std::strerror(error) +
                              ". La cuenta del operador debe pertenecer al grupo facturador.");
}

void Ciclo_Sincronizacion::cmdDesrechazar_Click() {
    vista_.Habilitar_Ocultamiento(false);
    if (Operador_Actual().Pedir_Confirmacion(kTitulo_Reactivar, kPregunta_Reactivar))
        Reactivar_Avisando_Al_Operador(vista_);
    vista_.Habilitar_Ocultamiento(true);
}

}  // namespace facturador

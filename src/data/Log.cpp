#include "data/Log.h"

#include <fmt/format.h>
#include <unistd.h>

#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

std::string Nombre_Archivo_Log(const Fecha_Hora& fecha) {
    return fmt::format("log_{:02}_{:02}_{:04}.txt", fecha.Dia, fecha.Mes, fecha.Anio);
}

// One write, so that lines of two processes sharing the journal never interleave.
void Escribir_En_Consola(const std::string& mensaje) noexcept {
    const std::string linea = Sin_Controles(mensaje) + "\n";
    [[maybe_unused]] const ssize_t escritos = write(STDERR_FILENO, linea.data(), linea.size());
}

constexpr const char* kTitulo_Falla_Log = "Error al actualizar archivo Log";

// True while the failure of a log write is being reported. With nobody at the machine the report
// itself goes to the log; if that write fails too it is not reported again, or it never ends.
bool g_avisando_falla = false;
// A write failed since the last one that went through: without a display, the next write that
// goes through tells that the failure is over.
bool g_falla_sin_resolver = false;

void Avisar_Falla(const Error_Plataforma& e) {
    g_falla_sin_resolver = true;
    if (g_avisando_falla)
        return;
    struct Marca {
        Marca() { g_avisando_falla = true; }
        ~Marca() { g_avisando_falla = false; }
    } marca;
    Operador_Actual().Mensaje_Estandar("error: " + std::to_string(e.Numero) + " - " + e.Descripcion,
                                       kTitulo_Falla_Log);
}

void Avisar_Resuelta() {
    if (!g_falla_sin_resolver)
        return;
    g_falla_sin_resolver = false;
    if (Operador* operador = Entorno_Actual().operador)
        operador->Avisos_Resueltos(kTitulo_Falla_Log);
}

void Escribir_Entrada(const std::string& mensaje, bool a_consola) {
    if (a_consola)
        Escribir_En_Consola(mensaje);
    try {
        // One reading of the clock, so that an entry just after midnight carries the time of the
        // day whose file it goes into.
        const Fecha_Hora ahora = Ahora();
        const std::string ruta = Unir_Ruta(Carpeta_Programa(), Nombre_Archivo_Log(ahora));
        // A message carries names and values from outside (queue file names, the lease's holder):
        // their control characters must not start lines of their own in the file either.
        const std::string entrada = std::string("Ver. ") + Version_Programa + " - " +
                                    Formato_Hora(ahora) + " -  " + Sin_Controles(mensaje) +
                                    "\r\n \r\n";
        Anexar_Archivo(ruta, entrada);
        Avisar_Resuelta();
    } catch (const Error_Plataforma& e) {
        Avisar_Falla(e);
    }
}

}  // namespace

std::string Nombre_Archivo_Log() {
    return Nombre_Archivo_Log(Ahora());
}

void Escribir_Log(const std::string& mensaje) {
    Escribir_Entrada(mensaje, isatty(STDERR_FILENO) == 0);
}

void Escribir_Aviso(const std::string& mensaje) {
    Escribir_Entrada(mensaje, true);
}

}  // namespace facturador

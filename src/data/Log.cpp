#include "data/Log.h"

#include <fmt/format.h>

#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

std::string Nombre_Archivo_Log(const Fecha_Hora& fecha) {
    return fmt::format("log_{:02}_{:02}_{:04}.txt", fecha.Dia, fecha.Mes, fecha.Anio);
}

}  // namespace

std::string Nombre_Archivo_Log() {
    return Nombre_Archivo_Log(Ahora());
}

void Escribir_Log(const std::string& mensaje) {
    try {
        // One reading of the clock, so that an entry just after midnight carries the time of the
        // day whose file it goes into.
        const Fecha_Hora ahora = Ahora();
        const std::string ruta = Unir_Ruta(Carpeta_Programa(), Nombre_Archivo_Log(ahora));
        const std::string entrada = std::string("Ver. ") + Version_Programa + " - " +
                                    Formato_Hora(ahora) + " -  " + mensaje + "\r\n \r\n";
        Anexar_Archivo(ruta, entrada);
    } catch (const Error_Plataforma& e) {
        Operador_Actual().Mensaje_Estandar(
            "error: " + std::to_string(e.Numero) + " - " + e.Descripcion,
            "Error al actualizar archivo Log");
    }
}

}  // namespace facturador

#include "app/Textos_Ventana.h"

#include "platform/Fecha_Hora.h"

namespace facturador {

namespace {

constexpr const char* kSufijo_Horas = " hs.";

// A stored text that does not read as a date or time (an empty time, for one) is shown as it is.
std::string Con_Formato(const std::string& texto, std::string (*formato)(const Fecha_Hora&)) {
    const std::optional<Fecha_Hora> valor = Leer_Fecha_Hora(texto);
    return valor ? formato(*valor) : texto;
}

std::string Fecha_y_Hora_Corta(const Fecha_Hora& f) {
    return Formato_Fecha_Corta(f) + " " + Formato_Hora(f);
}

}  // namespace

std::string Texto_Fecha_y_Hora(const std::string& fecha, const std::string& hora) {
    return Con_Formato(fecha, Formato_Fecha_Corta) + "  " + Con_Formato(hora, Formato_Hora) +
           kSufijo_Horas;
}

std::string Texto_Proxima(const std::string& proxima) {
    return Con_Formato(proxima, Fecha_y_Hora_Corta) + kSufijo_Horas;
}

Textos_Horas Textos_Mostrar_Datos(const Configuracion_Programa& configuracion) {
    return Textos_Horas{
        Texto_Fecha_y_Hora(configuracion.Fecha_Ultima, configuracion.Hora_Ultima),
        Texto_Fecha_y_Hora(configuracion.Fecha_Ultima_Exitosa, configuracion.Hora_Ultima_Exitosa),
        Texto_Proxima(configuracion.Proxima_Sincronizacion)};
}

}  // namespace facturador

#include "platform/Entorno.h"

#include <ctime>
#include <stdexcept>

namespace facturador {

Fecha_Hora Reloj_Sistema::Ahora() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return Fecha_Hora{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                      local.tm_hour,        local.tm_min,     local.tm_sec};
}

Entorno& Entorno_Actual() {
    static Entorno entorno;
    return entorno;
}

Fecha_Hora Ahora() {
    static const Reloj_Sistema sistema;
    const Reloj* reloj = Entorno_Actual().reloj;
    return reloj ? reloj->Ahora() : sistema.Ahora();
}

Operador& Operador_Actual() {
    Operador* operador = Entorno_Actual().operador;
    if (!operador)
        throw std::logic_error("no operator interface has been set");
    return *operador;
}

const std::string& Carpeta_Programa() {
    return Entorno_Actual().carpeta_programa;
}

void Notificar_Servicio(const std::string& mensaje) {
    if (Gestor_Servicio* servicio = Entorno_Actual().servicio)
        servicio->Notificar(mensaje);
}

}  // namespace facturador

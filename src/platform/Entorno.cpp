#include "platform/Entorno.h"

#include <pwd.h>
#include <unistd.h>

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

Instante Reloj_Sistema::Instante_Actual() const {
    return std::time(nullptr);
}

std::string Reloj_Sistema::Zona_Maquina() const {
    return Zona_del_Sistema();
}

Entorno& Entorno_Actual() {
    static Entorno entorno;
    return entorno;
}

namespace {

const Reloj& Reloj_Actual() {
    static const Reloj_Sistema sistema;
    const Reloj* reloj = Entorno_Actual().reloj;
    return reloj ? *reloj : sistema;
}

}  // namespace

Fecha_Hora Ahora() {
    return Reloj_Actual().Ahora();
}

Instante Instante_Ahora() {
    return Reloj_Actual().Instante_Actual();
}

std::string Zona_Maquina() {
    return Reloj_Actual().Zona_Maquina();
}

Operador& Operador_Actual() {
    Operador* operador = Entorno_Actual().operador;
    if (!operador)
        throw std::logic_error("no operator interface has been set");
    return *operador;
}

std::string Cuenta_Usuario() {
    const uid_t uid = geteuid();
    if (const passwd* usuario = getpwuid(uid); usuario && usuario->pw_name)
        return usuario->pw_name;
    return "uid " + std::to_string(uid);
}

const std::string& Carpeta_Programa() {
    return Entorno_Actual().carpeta_programa;
}

void Notificar_Servicio(const std::string& mensaje) {
    if (Gestor_Servicio* servicio = Entorno_Actual().servicio)
        servicio->Notificar(mensaje);
}

}  // namespace facturador

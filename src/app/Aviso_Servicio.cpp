#include "app/Aviso_Servicio.h"

#include <fmt/format.h>

#include "app/Estado_Aplicacion.h"
#include "app/Turno_Trabajo.h"
#include "platform/Entorno.h"

namespace facturador {

namespace {

const char* Texto_Fin(Fin_Ciclo fin) {
    switch (fin) {
    case Fin_Ciclo::Sin_Errores:
        return "sin errores";
    case Fin_Ciclo::Con_Errores:
        return "con errores";
    case Fin_Ciclo::Sin_Servidor:
        break;
    }
    return "sin conexión con la base de datos central";
}

}  // namespace

std::string Status_Servicio(Fin_Ciclo fin) {
    const Estado_Aplicacion& app = Estado_App();
    if (app.otra_copia_avisada)
        return "Otra copia del programa trabaja con la base de datos central.";
    long por_status[3] = {0, 0, 0};
    for (const auto& [clave, desde] : app.seguimiento.Vistas)
        if (clave.first == 1 || clave.first == 2)
            ++por_status[clave.first];
    const Fecha_Hora ahora = Ahora();
    return fmt::format("Pendientes: {}; en timbrado: {}. Último ciclo: {:02}:{:02}:{:02}, {}.",
                       por_status[1], por_status[2], ahora.Hora, ahora.Minuto, ahora.Segundo,
                       Texto_Fin(fin));
}

void Avisar_Servicio_Listo() {
    Notificar_Servicio("READY=1\nSTATUS=Iniciado; el primer ciclo comienza.");
}

void Avisar_Progreso_al_Servicio() {
    Notificar_Servicio("WATCHDOG=1");
}

void Avisar_Ciclo_al_Servicio(Fin_Ciclo fin) {
    Notificar_Servicio("WATCHDOG=1\nSTATUS=" + Status_Servicio(fin));
}

void Avisar_Servicio_Terminando() {
    Notificar_Servicio("STOPPING=1\nSTATUS=Terminando.");
}

}  // namespace facturador

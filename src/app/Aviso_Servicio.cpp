#include "app/Aviso_Servicio.h"

#include <fmt/format.h>

#include "app/Estado_Aplicacion.h"
#include "app/Turno_Trabajo.h"
#include "platform/Entorno.h"

namespace facturador {

std::string Status_Servicio(bool exitoso) {
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
                       exitoso ? "sin errores" : "con errores");
}

void Avisar_Servicio_Listo() {
    Notificar_Servicio("READY=1\nSTATUS=Iniciado; el primer ciclo comienza.");
}

void Avisar_Ciclo_al_Servicio(bool exitoso) {
    Notificar_Servicio("WATCHDOG=1\nSTATUS=" + Status_Servicio(exitoso));
}

void Avisar_Servicio_Terminando() {
    Notificar_Servicio("STOPPING=1\nSTATUS=Terminando.");
}

}  // namespace facturador

#include "platform/Gestor_Systemd.h"

#include <systemd/sd-daemon.h>

namespace facturador {

void Gestor_Systemd::Notificar(const std::string& mensaje) {
    // A manager that cannot be told is no reason to stop: its watchdog, if any, will say so.
    sd_notify(0, mensaje.c_str());
}

}  // namespace facturador

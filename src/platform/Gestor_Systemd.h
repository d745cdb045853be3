#pragma once

#include "platform/Entorno.h"

namespace facturador {

// systemd's notification socket, through sd_notify(3) of libsystemd. Started by anything but a
// unit of Type=notify there is no NOTIFY_SOCKET, and nothing is sent.
class Gestor_Systemd : public Gestor_Servicio {
  public:
    void Notificar(const std::string& mensaje) override;
};

}  // namespace facturador

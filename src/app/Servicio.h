#pragma once

#include <optional>
#include <string>

#include "app/Ciclo_Sincronizacion.h"

namespace facturador {

class Instancia_Unica;

// Before any database or window: a second copy on the same program folder says so and ends with
// a failure (the folder's log belongs to the running copy); a lock that cannot be taken at all is
// told, and the program does not run unguarded. The exit status when this copy must end.
std::optional<int> Falla_Instancia(const Instancia_Unica& instancia);

// Nothing to show and nothing to click: the cycles follow each other on their own.
class Vista_Sin_Ventanas : public Vista_Ciclo {
  public:
    void Mostrar_Status(const std::string&) override {}
    void Mostrar_Ver_Errores(bool) override {}
    void Mostrar_Datos() override {}
    void Procesar_Eventos() override {}
    void Habilitar_Timer(bool habilitado) override { timer_ = habilitado; }
    bool Timer_Habilitado() const override { return timer_; }
    void Habilitar_Ocultamiento(bool) override {}

  private:
    bool timer_ = false;
};

// The program without windows, as a service runs it: one copy per program folder, start-up, then
// one synchronization cycle after another, one second apart, until SIGTERM or SIGINT ends it once
// the cycle under way is over (the lease is freed at once). The service manager hears that it is
// ready, alive and stopping (Aviso_Servicio). Answers the exit status: 1 when start-up could not
// read the local configuration, which nobody can give without windows.
int Correr_Sin_Ventanas();

}  // namespace facturador

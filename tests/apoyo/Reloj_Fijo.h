#pragma once

#include "platform/Entorno.h"

namespace facturador::pruebas {

// A clock that shows what the test sets and moves only when the test moves it.
class Reloj_Fijo : public Reloj {
  public:
    explicit Reloj_Fijo(Fecha_Hora inicio = {2026, 12, 5, 10, 15, 40}) : ahora_(inicio) {}
    Fecha_Hora Ahora() const override { return ahora_; }
    void Poner(Fecha_Hora f) { ahora_ = f; }
    void Avanzar_Segundos(long long s) { ahora_ = Sumar_Segundos(ahora_, s); }

  private:
    Fecha_Hora ahora_;
};

}  // namespace facturador::pruebas

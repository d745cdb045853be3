#pragma once

#include <string>
#include <utility>

#include "platform/Entorno.h"

namespace facturador::pruebas {

// A clock that shows what the test sets and moves only when the test moves it. It keeps an
// instant and the machine's zone, Mexico City unless told otherwise: the test branches' place of
// issue (53100) is in that zone, so their invoices carry the machine's local time.
class Reloj_Fijo : public Reloj {
  public:
    explicit Reloj_Fijo(Fecha_Hora inicio = {2026, 12, 5, 10, 15, 40},
                        std::string zona_maquina = "America/Mexico_City")
        : zona_(std::move(zona_maquina)), instante_(Instante_Local(inicio, zona_)) {}
    Fecha_Hora Ahora() const override { return Hora_Local(instante_, zona_); }
    Instante Instante_Actual() const override { return instante_; }
    std::string Zona_Maquina() const override { return zona_; }
    // `f` in the machine's local time.
    void Poner(Fecha_Hora f) { instante_ = Instante_Local(f, zona_); }
    void Avanzar_Segundos(long long s) { instante_ += s; }

  private:
    std::string zona_;
    Instante instante_;
};

}  // namespace facturador::pruebas

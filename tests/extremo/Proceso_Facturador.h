#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

namespace facturador::pruebas {

// One copy of the built program, copied into `carpeta` (its program folder) and started from there
// on the offscreen platform. A copy the test has not seen end is killed when the object goes, and
// also when the test program itself dies.
class Proceso_Facturador {
  public:
    explicit Proceso_Facturador(const std::string& carpeta);
    ~Proceso_Facturador();
    Proceso_Facturador(const Proceso_Facturador&) = delete;
    Proceso_Facturador& operator=(const Proceso_Facturador&) = delete;

    bool Sigue_Corriendo();
    void Enviar(int senal) const;
    // The wait status, once the process has ended within the deadline (polled, not slept).
    std::optional<int> Esperar_Fin(std::chrono::seconds plazo);

  private:
    bool Recoger();

    pid_t pid_ = -1;
    std::optional<int> estado_;
};

// True for a wait status of a normal exit with code 0.
bool Termino_Con_Codigo_0(const std::optional<int>& estado);

}  // namespace facturador::pruebas

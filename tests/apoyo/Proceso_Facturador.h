#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Bd_Central.h"
#include "Entorno_Pruebas.h"

namespace facturador::pruebas {

// How a child program is started, besides its arguments.
struct Arranque_Hijo {
    std::string salida;                // standard output and error are appended here, if given
    std::vector<std::string> entorno;  // "NAME=value" settings added to the child's environment
    std::optional<std::pair<uid_t, gid_t>> usuario;  // user and group, if not the test's own
    std::string programa;  // Proceso_Facturador's executable, if not the one with windows
};

// A built program started by the test from the root folder on the offscreen platform, with its
// standard output and error sent to `salida` when one is given. A process the test has not seen
// end is killed when the object goes, and also when the test program itself dies.
class Proceso_Hijo {
  public:
    Proceso_Hijo(const std::string& programa, const std::vector<std::string>& argumentos,
                 const std::string& salida = "");
    Proceso_Hijo(const std::string& programa, const std::vector<std::string>& argumentos,
                 const Arranque_Hijo& arranque);
    ~Proceso_Hijo();
    Proceso_Hijo(const Proceso_Hijo&) = delete;
    Proceso_Hijo& operator=(const Proceso_Hijo&) = delete;

    bool Sigue_Corriendo() { return !Recoger(); }
    void Enviar(int senal) const;
    pid_t Pid() const { return pid_; }
    // The wait status, once the process has ended within the deadline (polled, not slept).
    std::optional<int> Esperar_Fin(std::chrono::seconds plazo);

  private:
    bool Recoger();

    pid_t pid_ = -1;
    std::optional<int> estado_;
};

// One copy of the built program, copied into `carpeta` (its program folder) and started there.
class Proceso_Facturador : public Proceso_Hijo {
  public:
    explicit Proceso_Facturador(const std::string& carpeta, const std::string& salida = "",
                                const std::vector<std::string>& argumentos = {});
    Proceso_Facturador(const std::string& carpeta, const Arranque_Hijo& arranque);
};

// A program folder with the local files the installer leaves, against an empty central database.
class Prueba_Programa : public testing::Test {
  protected:
    Prueba_Programa() {
        Vaciar_Base_Central();
        entorno.Crear_Bases_Locales();
    }
    Entorno_Pruebas entorno;
};

// Polls `cumplido` until it holds or the deadline passes.
bool Esperar(const std::function<bool()>& cumplido, std::chrono::seconds plazo);
// Polls request `id` until its Status reads `status`, for as long as a few dozen cycles take.
bool Esperar_Status(int id, const std::string& status);
// True for a wait status of a normal exit with code 0.
bool Termino_Con_Codigo_0(const std::optional<int>& estado);
// The exit code of a normal exit; -1 for a process still running or killed by a signal.
int Codigo_De_Salida(const std::optional<int>& estado);

}  // namespace facturador::pruebas

#pragma once

#include <functional>
#include <string>

#include "platform/Repeticiones.h"

namespace facturador {

inline constexpr const char* kLinea_Recuperacion =
    "Sincronización restablecida: el ciclo terminó sin errores.";

// Keeps the daily log readable while the program runs unattended and a failure repeats on every
// cycle (the central database down, a statement that keeps failing): the same line is written
// once, then at most once an hour with the count of its repeats (see Repeticiones), and once more
// as "Se resolvió: <line>" when it clears: when its step completes again, or at the latest when a
// whole cycle ends without failures (those that did not come up in it), which after failures
// also writes one recovery line.
class Registro_Fallas {
  public:
    // Writes "Error:  <descripcion>  -  <contexto>" to the daily log, unless the very same line
    // was written less than an hour ago. The context (a step, a statement, a request) is what
    // the failure is about.
    void Registrar(const std::string& descripcion, const std::string& contexto);
    // A conflict with another writer (Es_Conflicto) is no failure: the work was rolled back and the
    // next cycle tries it again. "Conflicto:  <descripcion>  -  <contexto>" goes to the daily log
    // as a failure's line would, but the cycle is not failed by it.
    void Registrar_Conflicto(const std::string& descripcion, const std::string& contexto);
    // The step or context completed: its failures under way are over.
    void Resolver(const std::string& contexto);
    // Ends one cycle. A clean cycle resolves the failures under way that did not come up in it
    // (a conflict of its own stays), and after failures writes the recovery line, so that a new
    // failure is written at once.
    void Cerrar_Ciclo();
    bool En_Falla() const { return en_falla_; }
    // Something failed since the last Cerrar_Ciclo.
    bool Falla_En_Ciclo() const { return falla_en_ciclo_; }

  private:
    void Escribir_Limitada(const std::string& contexto, const std::string& linea);

    Repeticiones repeticiones_;  // by "<contexto> | <linea>"
    bool falla_en_ciclo_ = false;
    bool en_falla_ = false;
};

// The failures of the running program: one registry for the cycle, start-up and the statement
// batch, so that the same line is kept from the log for an hour wherever it comes from.
Registro_Fallas& Fallas_Programa();

// Runs one step of start-up or of a cycle. A failure is written to the daily log (see
// Registro_Fallas) together with the step's name, and the caller goes on; a step that completes
// resolves its earlier failures. Answers whether the step completed. A conflict is registered as one; a step that found this copy without the lease
// is not registered at all (the lease's own change is told once, where it is renewed).
bool Ejecutar_Registrando_Falla(const std::string& paso, const std::function<void()>& accion);

}  // namespace facturador

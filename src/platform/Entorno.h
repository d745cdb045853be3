#pragma once

#include <string>

#include "platform/Fecha_Hora.h"
#include "platform/Zona_Horaria.h"

namespace facturador {

// The machine's clock: its local time, and the same moment as an instant with the zone the machine
// keeps its local time in, from which the local time of any other place is worked out.
class Reloj {
  public:
    virtual ~Reloj() = default;
    virtual Fecha_Hora Ahora() const = 0;
    virtual Instante Instante_Actual() const = 0;
    virtual std::string Zona_Maquina() const = 0;
};

class Reloj_Sistema : public Reloj {
  public:
    Fecha_Hora Ahora() const override;
    Instante Instante_Actual() const override;
    std::string Zona_Maquina() const override;
};

// Everything that waits for, or is shown to, the person at the machine.
class Operador {
  public:
    virtual ~Operador() = default;
    // The platform's standard message box with an OK button.
    virtual void Mensaje_Estandar(const std::string& texto, const std::string& titulo) = 0;
    // The skinned message dialog.
    virtual void Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) = 0;
    // The yes/no dialog; true when the operator answered yes.
    virtual bool Pedir_Confirmacion(const std::string& titulo, const std::string& mensaje) = 0;
    // The database location dialog, modal. Its "X" ends the whole program.
    virtual void Configurar_Ruta_BD() = 0;
    // The folder picker; the empty text when the operator cancels.
    virtual std::string Elegir_Carpeta(const std::string& titulo) = 0;
    // Opens a file with the desktop's default application; the outcome is not checked.
    virtual void Abrir_Documento(const std::string& ruta) = 0;
    // True when nobody can answer a dialog (a service, a machine without a display): messages go
    // to the daily log, limited as repeated failures are, and no question waits.
    virtual bool Sin_Pantalla() const { return false; }
    // Without a display, the messages with this title are over (a dialog needs no such word).
    virtual void Avisos_Resueltos(const std::string& /*titulo*/) {}
};

// The service manager that started the program (systemd), told when it is ready and, after each
// cycle, that it is alive: a program that stops telling is restarted.
class Gestor_Servicio {
  public:
    virtual ~Gestor_Servicio() = default;
    // One message of the manager's notification protocol: "READY=1", "WATCHDOG=1",
    // "STATUS=<text>", "STOPPING=1", several joined by "\n".
    virtual void Notificar(const std::string& mensaje) = 0;
};

// The program's links to the outside world, set once by main() and replaced by the tests.
struct Entorno {
    const Reloj* reloj = nullptr;
    Operador* operador = nullptr;
    // Folder of the executable, without a trailing separator.
    std::string carpeta_programa;
    Gestor_Servicio* servicio = nullptr;  // none: nothing is told
};

Entorno& Entorno_Actual();
// The machine's local date and time.
Fecha_Hora Ahora();
// The machine's clock as an instant.
Instante Instante_Ahora();
// The IANA zone of the machine's local time.
std::string Zona_Maquina();
Operador& Operador_Actual();
const std::string& Carpeta_Programa();
// The system account the program runs as (the operator's, for a console), as its name; the
// number when the account has none.
std::string Cuenta_Usuario();
void Notificar_Servicio(const std::string& mensaje);

}  // namespace facturador

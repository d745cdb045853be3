#pragma once

#include <string>

namespace facturador {

// What the synchronization cycle shows and switches on the main window.
class Vista_Ciclo {
public:
    virtual ~Vista_Ciclo() = default;
    virtual void Mostrar_Status(const std::string& texto) = 0;        // lblStatus
    virtual void Mostrar_Ver_Errores(bool visible) = 0;              // lblLog
    virtual void Mostrar_Datos() = 0;                                // the three time labels
    // Lets the window paint and handle its pending events once (the cycle's only yield).
    virtual void Procesar_Eventos() = 0;
    virtual void Habilitar_Timer(bool habilitado) = 0;               // tmrTimer
    virtual bool Timer_Habilitado() const = 0;
    virtual void Habilitar_Ocultamiento(bool habilitado) = 0;        // tmrMostrar
};

inline constexpr const char* kStatus_Sincronizando = "Sincronizando";
inline constexpr const char* kStatus_Abriendo = "Abriendo conexión con base de datos central";
inline constexpr const char* kStatus_Inactivo = "Sincronizar Ahora";

// Drives one synchronization cycle after another: generation pass on the cycle's connection,
// result intake, rejected-request indicator, run times and the statement batch.
class Ciclo_Sincronizacion {
public:
    explicit Ciclo_Sincronizacion(Vista_Ciclo& vista) : vista_(vista) {}

    void tmrTimer_Timer();
    void cmdSincronizar_Click();
    void cmdDesrechazar_Click();
    void lblLog_Click();
    // True from the start of a cycle until its timer is enabled again.
    bool En_Curso() const { return en_curso_; }

    void Ejecutar_Ciclo();
    void Realizar_Sincronizacion();

private:
    Vista_Ciclo& vista_;
    bool en_curso_ = false;
};

// True when the central database holds at least one rejected request (status 4).
bool Hay_Solicitudes_Rechazadas();
// Rejected requests dated on or after 31 July 2024 go back to pending with an empty result.
void Reactivar_Solicitudes_Rechazadas();

}  // namespace facturador

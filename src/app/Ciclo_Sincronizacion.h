#pragma once

#include <string>

#include "data/Consulta_Aparte.h"
#include "platform/Conexion.h"

namespace facturador {

// What the synchronization cycle shows and switches on the main window, and where its queries of
// the lease, the profiles' fingerprint and the rejected count run (in a window, off its thread).
class Vista_Ciclo : public Lugar_Consultas {
  public:
    virtual ~Vista_Ciclo() = default;
    virtual void Mostrar_Status(const std::string& texto) = 0;  // lblStatus
    virtual void Mostrar_Ver_Errores(bool visible) = 0;         // lblLog
    // lblRechazadas: how many requests are rejected (hidden at 0).
    virtual void Mostrar_Rechazadas(long long /*cuantas*/) {}
    virtual void Mostrar_Datos() = 0;                           // the three time labels
    // Lets the window paint and handle its pending events once (the cycle's only yield).
    virtual void Procesar_Eventos() = 0;
    virtual void Habilitar_Timer(bool habilitado) = 0;  // tmrTimer
    virtual bool Timer_Habilitado() const = 0;
    virtual void Habilitar_Ocultamiento(bool habilitado) = 0;  // tmrMostrar
};

inline constexpr const char* kStatus_Sincronizando = "Sincronizando";
inline constexpr const char* kStatus_Abriendo = "Abriendo conexión con base de datos central";
inline constexpr const char* kStatus_Inactivo = "Sincronizar Ahora";

// Drives one synchronization cycle after another: the lease renewed, and, in the copy that holds
// it, generation pass on the cycle's connection, result intake and the look at rejected requests;
// in every copy the rejected-request indicator, run times and the statement batch.
//
// No failure stops the cycles: whatever a step throws is written to the daily log (the same line
// at most once a minute) and every cycle ends with "Sincronizar Ahora", the time labels refreshed
// and tmrTimer enabled again. When the central database cannot be reached the rest of the cycle's
// work is skipped; the next cycle tries again.
//
// Re-entry: while En_Curso() the view must keep tmrTimer off, even when a window opened during the
// cycle's yield (configuration, cancellation) closes and would switch it back on; the cycle
// enables it again itself when it ends. A tick or a click on "Sincronizar" that arrives while a
// cycle runs is ignored.
class Ciclo_Sincronizacion {
  public:
    explicit Ciclo_Sincronizacion(Vista_Ciclo& vista) : vista_(vista) {}

    void tmrTimer_Timer();
    void cmdSincronizar_Click();
    void cmdDesrechazar_Click();
    // Opens the stamping error log, which something outside the program writes into the worker's
    // program folder: this copy's own when it has one, else the worker's (Carpeta_del_Servicio);
    // when neither can be read the operator is told why.
    void lblLog_Click();
    // True for the whole of a timed or manual cycle, its statement batch included.
    bool En_Curso() const { return en_curso_; }

    void Ejecutar_Ciclo();
    void Realizar_Sincronizacion();

  private:
    bool Generar_en_Conexion_Ciclo();
    void Recibir_Como_Trabajador();
    void Cerrar_Conexion_Ciclo() noexcept;
    void Actualizar_Ver_Errores();
    void Terminar_Ciclo();

    Vista_Ciclo& vista_;
    bool en_curso_ = false;
    bool pase_completo_ = false;  // the generation pass of the running cycle went through
    bool sin_servidor_ = false;   // the running cycle could not reach the central database
    Conexion conexion_ciclo_;     // Conexion_Ciclo: open only during the generation pass
};

// The rejected requests (status 4) of the central database.
long long Contar_Solicitudes_Rechazadas(Conexion& conexion);
// Rejected requests dated on or after 31 July 2024 go back to pending with an empty result.
// A failure reaches the caller; the single statement leaves nothing half-changed.
void Reactivar_Solicitudes_Rechazadas(Conexion& conexion);

}  // namespace facturador

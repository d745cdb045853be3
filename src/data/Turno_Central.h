#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "data/Conexiones.h"
#include "platform/Conexion.h"

namespace facturador {

// One worker per central database, by a lease: the copy of the program named in the row of
// Turno_Facturador, while its expiry (Vence, in the database's own clock) lies ahead, is the one
// that generates, takes in results, recovers waiting files and re-queues. The row is taken and
// renewed by plain committed statements, which a Galera cluster replicates like any other write
// (a server's session locks it does not). A copy that finds the lease expired, or left by a copy
// of the same machine and program folder that is gone, takes it and raises its epoch.
//
// Every unit of work confirms, in its own transaction, that this copy still holds the lease by
// writing the row (Comprobar_Turno). A copy that lost it (paused, cut off, its node evicted)
// finds no row to write and rolls back; and if another copy took over meanwhile on another node,
// the cluster refuses the later of the two conflicting writes at COMMIT. So no unit of a copy
// that lost the lease is ever committed after the next holder took it.

// The lease lasts this long after its last renewal (every cycle) or fenced unit.
inline constexpr int kSegundos_Turno = 30;

// A fenced unit found that this copy no longer holds the lease; its work was rolled back.
inline constexpr long kError_Sin_Turno = 30001;
// A new key (Nuevo_ID) that another transaction took meanwhile: the primary key refused it.
inline constexpr long kError_Clave_Tomada = 30002;

// True for a failure that two writers meeting on the same rows cause and that says nothing of the
// work itself: a deadlock or a cluster's certification failure (1213), a lock wait that ran out
// (1205), a new key taken meanwhile. The work was rolled back; it is simply tried again next cycle.
bool Es_Conflicto(long numero);
// True for the server's refusal of a statement this account has no right to (a table, a column, the
// database): the operator's console, whose account may read the lease but never take it.
bool Es_Sin_Permiso(long numero);

// The lease row as any reader finds it (the health report).
struct Lectura_Turno {
    std::string Titular;  // empty while free
    int64_t Epoca = 0;
    std::string Vence;                 // database time, "yyyy-mm-dd hh:mm:ss.ffffff"; empty if free
    long long Segundos_Restantes = 0;  // until Vence; 0 or less once expired
};
// Nothing when the table or its row is not there yet.
std::optional<Lectura_Turno> Leer_Turno(Conexion& conexion);

class Turno_Central {
  public:
    enum class Estado { Tenido, Ocupado, Sin_Permiso, Sin_Servidor };

    // `titular`: this copy as the row names it. `propio`: the beginning of `titular` that names
    // this machine and program folder; only this copy can hold that folder now (its lock file
    // says so), so a lease left under it belongs to a copy that is gone and is taken at once.
    Turno_Central(std::string titular, std::string propio);

    // Renews the lease this copy holds, or takes it when it is free, expired or left by this
    // folder's copy that is gone; creates the table when it is missing. Never throws: a failure
    // of the server is Sin_Servidor (Falla() tells it), a conflict with another copy Ocupado, an
    // account that may not take the lease (or create its table) Sin_Permiso (Falla() tells it).
    Estado Asegurar() noexcept;
    // The same on a connection that `abrir` opens, for a thread other than the program's.
    Estado Asegurar(const Abrir_Central& abrir) noexcept;
    // Frees the lease at once (a clean exit), if this copy holds it.
    void Soltar() noexcept;

    bool Tenido() const { return epoca_.has_value(); }
    int64_t Epoca() const { return epoca_.value_or(0); }
    const std::string& Titular() const { return titular_; }
    // Who holds the lease, when Asegurar found it held by another copy.
    const std::string& Titular_Ajeno() const { return ajeno_; }
    const std::string& Falla() const { return falla_; }

    // The fence, inside the unit's open transaction: counts the unit on the lease row, which only
    // matches while this copy holds a valid lease, and extends it. Without the lease it marks it
    // lost and throws Error_Plataforma(kError_Sin_Turno); the caller rolls back.
    void Comprobar_Turno(Conexion& conexion);
    // After the unit's COMMIT: appends "<Epoca> <Unidades> <Titular>" to the file that
    // FACTURADOR_TRAZA_UNIDADES names, if any, in one write.
    void Unidad_Confirmada() const;

  private:
    Estado Tomar(Conexion& conexion);
    bool Renovar(Conexion& conexion);
    std::string Mio(const Conexion& conexion) const;

    std::string titular_;
    std::string propio_;
    std::optional<int64_t> epoca_;  // while this copy holds the lease
    std::string ajeno_;
    std::string falla_;
    std::string traza_;                // the trace file, if the environment names one
    long long unidades_anotadas_ = 0;  // the count of the unit last fenced, for the trace
};

// The lease of this running copy.
Turno_Central& Turno_Programa();
// This copy anew (start-up, tests): its name from the machine, the program folder, the process and
// a fresh token, and no lease.
void Reiniciar_Turno_Programa();

// The COMMIT of a unit of work on `conexion`, fenced by the lease: Comprobar_Turno, COMMIT, then
// the trace. A failure reaches the caller with the transaction to roll back.
void Confirmar_Unidad(Conexion& conexion);

// Runs `trabajo` as one unit on the connection: a transaction, committed by Confirmar_Unidad. A
// failure rolls it back (a lost connection takes its transaction with it) and reaches the caller.
void En_Unidad_Cercada(Conexion& conexion, const std::function<void()>& trabajo);

}  // namespace facturador

#pragma once

#include <string>

#include "platform/Conexion.h"

namespace facturador {

// The work of sending one request to stamping, as one transaction on the cycle's connection, with
// the request's file to stamp waiting in the queue folder under its temporary name as the
// prepared state: the stamping program reads only published names, so it cannot see the file
// before the request is committed in status 2.
//
// Undone, the unit rolls back and removes the prepared file: no folio is spent and no invoice row
// exists without its request in status 2. The lease fences the COMMIT (Comprobar_Turno): a copy
// that no longer holds it rolls back. A COMMIT that fails leaves the prepared file where it is:
// the server may have committed before the connection broke, and only the recovery of the queue
// folders, which reads the request back, may publish or remove it; but one refused by a conflict
// (deadlock, a cluster's certification) was rolled back for certain, and its file goes.
class Unidad_Trabajo {
  public:
    explicit Unidad_Trabajo(Conexion& conexion);
    ~Unidad_Trabajo();
    Unidad_Trabajo(const Unidad_Trabajo&) = delete;
    Unidad_Trabajo& operator=(const Unidad_Trabajo&) = delete;

    // The temporary file in the queue folder that belongs to this unit.
    void Archivo_Preparado(const std::string& ruta_temporal) { ruta_temporal_ = ruta_temporal; }
    // The fence, then COMMIT. Without the lease it throws with the unit still open (the caller's
    // Deshacer rolls it back). From the COMMIT on, whatever its outcome, the unit neither rolls
    // back nor removes files, but for a conflict's.
    void Confirmar();
    // True once a COMMIT went through: the unit's work is in the database.
    bool Confirmada() const { return confirmada_; }
    // Rolls back (ignoring failures: the server rolls back a lost connection's work itself) and
    // removes the prepared file. Nothing happens if the unit is already closed.
    void Deshacer() noexcept;

  private:
    Conexion& conexion_;
    std::string ruta_temporal_;
    bool cerrada_ = false;
    bool confirmada_ = false;
};

}  // namespace facturador

#pragma once

#include <string>

#include "platform/Conexion.h"

namespace facturador {

// The work of sending one request to stamping, as one transaction on the cycle's connection:
// unless it is confirmed, the database work is rolled back and the file already copied into the
// queue folder is removed, so that no folio is spent and no invoice row exists without its request
// in status 2.
class Unidad_Trabajo {
  public:
    explicit Unidad_Trabajo(Conexion& conexion);
    ~Unidad_Trabajo();
    Unidad_Trabajo(const Unidad_Trabajo&) = delete;
    Unidad_Trabajo& operator=(const Unidad_Trabajo&) = delete;

    // The file in the queue folder that belongs to this unit.
    void Archivo_Encolado(const std::string& ruta_cola) { ruta_cola_ = ruta_cola; }
    void Confirmar();
    // Rolls back (ignoring failures: the server rolls back a lost connection's work itself) and
    // removes the queued file. Nothing happens if the unit is already closed.
    void Deshacer() noexcept;

  private:
    Conexion& conexion_;
    std::string ruta_cola_;
    bool cerrada_ = false;
};

}  // namespace facturador

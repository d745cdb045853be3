#pragma once

#include <memory>
#include <string>

namespace facturador {

class Motor_MariaDB;

// A named lock of the central server, held on a physical connection of its own outside the pool:
// the server releases it when that connection ends, however it ends (the program killed, the
// server restarted), so it can never be left held by a copy that is gone.
class Candado_Central {
  public:
    enum class Estado { Tenido, Ocupado, Sin_Servidor };

    explicit Candado_Central(std::string nombre);
    ~Candado_Central();
    Candado_Central(const Candado_Central&) = delete;
    Candado_Central& operator=(const Candado_Central&) = delete;

    // Whether this program holds the lock now. A connection that no longer answers has lost the
    // lock on the server, so it is replaced and the lock asked for again, without waiting.
    // Never throws; with Sin_Servidor, Falla() tells why.
    Estado Asegurar(const std::string& cadena_conexion) noexcept;
    const std::string& Falla() const { return falla_; }
    void Soltar() noexcept;

  private:
    std::string nombre_;
    std::unique_ptr<Motor_MariaDB> motor_;
    std::string falla_;
};

}  // namespace facturador

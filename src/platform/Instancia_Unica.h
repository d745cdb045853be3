#pragma once

#include <string>

namespace facturador {

// One running copy of the program per user on the machine, wherever its folder: the copy that
// holds an exclusive lock on the user's lock file is the one. The kernel drops the lock when the
// process ends, however it ends, so a crashed copy never blocks the next start. The lock file lives
// in the user's own runtime folder, where no other user can create it first.
class Instancia_Unica {
  public:
    enum class Estado { Unica, Otra_Copia, Falla };

    explicit Instancia_Unica(const std::string& archivo_candado);
    ~Instancia_Unica();
    Instancia_Unica(const Instancia_Unica&) = delete;
    Instancia_Unica& operator=(const Instancia_Unica&) = delete;

    Estado Resultado() const { return estado_; }
    bool Es_Unica() const { return estado_ == Estado::Unica; }
    // Why the lock could not be taken when Resultado() is Falla (the file and the system's text).
    const std::string& Falla() const { return falla_; }

  private:
    int descriptor_ = -1;
    Estado estado_ = Estado::Falla;
    std::string falla_;
};

}  // namespace facturador

#pragma once

#include <string>

namespace facturador {

// One running copy of the program per user on the machine, wherever its folder: the copy that
// holds an exclusive lock on the user's lock file is the one. The kernel drops the lock when the
// process ends, however it ends, so a crashed copy never blocks the next start.
class Instancia_Unica {
  public:
    explicit Instancia_Unica(const std::string& archivo_candado = Archivo_Candado_Usuario());
    ~Instancia_Unica();
    Instancia_Unica(const Instancia_Unica&) = delete;
    Instancia_Unica& operator=(const Instancia_Unica&) = delete;

    // False when another copy holds the lock, or when the lock file cannot be opened at all
    // (two copies issuing folios side by side must never happen).
    bool Es_Unica() const { return descriptor_ >= 0; }

    // "/tmp/facturador-<uid>.lock".
    static std::string Archivo_Candado_Usuario();

  private:
    int descriptor_ = -1;
};

}  // namespace facturador

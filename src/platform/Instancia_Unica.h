#pragma once

#include <optional>
#include <string>

namespace facturador {

// The lock file in a program folder ("facturador.lock").
std::string Archivo_Candado_de_Carpeta(const std::string& carpeta_programa);

// One running copy of the program per program folder, whoever runs it and whatever its
// environment: the copy that holds an exclusive lock on the folder's lock file is the one. The
// folder's local databases, daily logs and state file belong to that copy alone. The kernel drops
// the lock when the process ends, however it ends, so a crashed copy never blocks the next start.
// The lock is an open-file-description lock: another open of the file can test it without taking
// it, so a health check never keeps a starting copy out.
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

// Whether a copy of the program holds the lock file now, tested without taking it and without
// creating the file: no file, no copy. Nothing when it cannot be told (the file is unreadable).
std::optional<bool> Instancia_Corriendo(const std::string& archivo_candado);

}  // namespace facturador

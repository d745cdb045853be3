#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Siembra.h"

namespace facturador::pruebas {

struct Sucursal_Fallas {
    int id = 0;
    std::string serie;
    int folio_inicial = 1;
    std::string base;  // holds cola/, validas/ and no_validas/
    Carpetas_Sucursal carpetas;
    bool en_tmpfs = false;  // `base` is a small file system of its own, so it can fill up
};

// Everything the fault runs work on: a private server with the server's default durability, the
// branches and their folders, and one copy of the program and of the simulated stamping program,
// both run as an unprivileged user (nobody when the run is root's, so that file permissions hold
// for them) with a runtime folder and a program folder of their own.
class Mundo_Fallas {
  public:
    // `carpeta_servidor`: where the private server lives; empty: inside the run's own folder, which
    // the unprivileged user can always reach.
    explicit Mundo_Fallas(const std::string& carpeta_servidor);
    ~Mundo_Fallas();
    Mundo_Fallas(const Mundo_Fallas&) = delete;
    Mundo_Fallas& operator=(const Mundo_Fallas&) = delete;

    const std::vector<Sucursal_Fallas>& Sucursales() const { return sucursales_; }
    const std::string& Carpeta() const { return carpeta_.Ruta(); }
    // Where the program runs from and writes its daily logs.
    const std::string& Carpeta_Programa() const { return programa_; }
    // The stamping record of the simulated stamping program.
    std::string Registro_Timbrados() const;
    // Whether the run may mount file systems (a branch on a small tmpfs that can fill up).
    bool Con_Tmpfs() const { return con_tmpfs_; }

    void Arrancar_Programa();
    bool Programa_Vivo();
    void Senal_Programa(int senal);
    void Matar_Programa();
    void Arrancar_Timbrador();
    // Ends it between two passes (SIGTERM), so that no file is left half taken.
    void Detener_Timbrador();

    void Reiniciar_Servidor() const;
    // kill -9 of the server, then a start: the crash recovery a power cut leaves to it.
    void Matar_y_Arrancar_Servidor() const;
    // Hands a file or folder to the user the programs run as.
    void Ceder(const std::string& ruta) const;

  private:
    void Servidor(const std::string& accion) const;
    void Crear_Sucursal(int id, const std::string& serie, int folio, bool en_tmpfs);
    Arranque_Hijo Arranque(const std::string& salida) const;

    Carpeta_Temporal carpeta_;
    std::string carpeta_servidor_;
    std::optional<std::pair<uid_t, gid_t>> usuario_;
    bool con_tmpfs_ = false;
    std::vector<Sucursal_Fallas> sucursales_;
    std::string programa_, runtime_, timbrador_copiado_;
    std::unique_ptr<Proceso_Facturador> facturador_;
    std::unique_ptr<Proceso_Hijo> timbrador_;
};

}  // namespace facturador::pruebas

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

// One copy of the program: its program folder (daily logs, local files, lock), its runtime folder
// and the database node it reaches (0: the private server).
struct Copia_Fallas {
    std::string programa, runtime;
    int nodo = 0;
    std::unique_ptr<Proceso_Facturador> proceso;
};

// Everything the fault runs work on: a private server with the server's default durability (or a
// Galera cluster of `nodos` nodes on this machine, with a copy of the program on each node), the
// branches and their folders shared by every copy, and the simulated stamping program, all run as
// an unprivileged user (nobody when the run is root's, so that file permissions hold for them)
// with runtime and program folders of their own.
class Mundo_Fallas {
  public:
    // `carpeta_servidor`: where the private server or the cluster lives; empty: inside the run's
    // own folder, which the unprivileged user can always reach. `nodos`: 0 for one server.
    Mundo_Fallas(const std::string& carpeta_servidor, int nodos);
    ~Mundo_Fallas();
    Mundo_Fallas(const Mundo_Fallas&) = delete;
    Mundo_Fallas& operator=(const Mundo_Fallas&) = delete;

    const std::vector<Sucursal_Fallas>& Sucursales() const { return sucursales_; }
    const std::string& Carpeta() const { return carpeta_.Ruta(); }
    // Where a copy of the program runs from and writes its daily logs.
    const std::string& Carpeta_Programa(size_t copia = 0) const { return copias_[copia].programa; }
    size_t Copias() const { return copias_.size(); }
    int Nodos() const { return nodos_; }
    int Nodo_De(size_t copia) const { return copias_[copia].nodo; }
    // The file where every copy appends a line per committed unit of work: "<Epoca> <Unidades>
    // <Titular>" of the lease it was fenced by.
    std::string Traza_Unidades() const;
    // The stamping record of the simulated stamping program.
    std::string Registro_Timbrados() const;
    // Whether the run may mount file systems (a branch on a small tmpfs that can fill up).
    bool Con_Tmpfs() const { return con_tmpfs_; }

    void Arrancar_Programa(size_t copia = 0);
    bool Programa_Vivo(size_t copia = 0);
    void Senal_Programa(int senal, size_t copia = 0);
    void Matar_Programa(size_t copia = 0);
    // The copy that holds the lease now, by the lease row read from the run's reading node.
    std::optional<size_t> Copia_Con_Turno() const;
    void Arrancar_Timbrador();
    // Ends it between two passes (SIGTERM), so that no file is left half taken.
    void Detener_Timbrador();

    // The cluster's nodes (1 to Nodos()): galera-local.sh's arrancar, parar, matar, aislar, reunir.
    void Nodo(const std::string& accion, int nodo) const;
    pid_t Pid_Nodo(int nodo) const;
    // The run's own reads and writes (seeding, checks) go to this node from now on.
    void Leer_Desde(int nodo) const;
    // ... to the private server, or to the cluster's first node: where the checks read.
    void Leer_Del_Primero() const { Leer_Desde(nodos_ > 0 ? 1 : 0); }
    // Every node running, in the primary component and caught up: those that are not within a
    // while are killed and started again.
    void Sanar_Nodos() const;
    // The last lines the node's server wrote to its error log.
    std::string Errores_Nodo(int nodo) const;
    // Waits until every node has applied the same writes, so that any node tells the whole truth.
    bool Nodos_Al_Dia() const;

    void Reiniciar_Servidor() const;
    // kill -9 of the server, then a start: the crash recovery a power cut leaves to it.
    void Matar_y_Arrancar_Servidor() const;
    // Hands a file or folder to the user the programs run as.
    void Ceder(const std::string& ruta) const;

  private:
    void Servidor(const std::string& accion) const;
    void Cluster(const std::string& accion) const;
    void Crear_Sucursal(int id, const std::string& serie, int folio, bool en_tmpfs);
    Arranque_Hijo Arranque(const std::string& salida, const Copia_Fallas* copia = nullptr) const;
    void Crear_Copia(const std::string& nombre, int nodo);
    std::string Socket(int nodo) const;

    Carpeta_Temporal carpeta_;
    std::string carpeta_servidor_;
    std::optional<std::pair<uid_t, gid_t>> usuario_;
    bool con_tmpfs_ = false;
    std::vector<Sucursal_Fallas> sucursales_;
    int nodos_ = 0;
    std::vector<Copia_Fallas> copias_;
    std::string timbrador_copiado_;
    std::unique_ptr<Proceso_Hijo> timbrador_;
};

}  // namespace facturador::pruebas

#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "Mundo_Fallas.h"
#include "platform/Motor_MariaDB.h"

namespace facturador::pruebas {

// A member of the branch folders' group at work through the whole run, in a thread of its own: at
// random moments it plants, at the names the program and the stamping program are about to use
// (the next folios' files to stamp, hidden or published, their results and error texts, a stale
// cancellation), links to files outside the branch and program folders (some there, some not),
// pipes nobody writes to, and huge sparse results. It never replaces what is already at a name.
// It learns those names as an insider would: from the folders, and from the requests pending in
// the database (their keys, their branch's next folio, the lease's epoch), read on a connection
// of its own.
class Vecino_en_Corrida {
  public:
    Vecino_en_Corrida(const Mundo_Fallas& mundo, unsigned semilla);
    ~Vecino_en_Corrida();
    Vecino_en_Corrida(const Vecino_en_Corrida&) = delete;
    Vecino_en_Corrida& operator=(const Vecino_en_Corrida&) = delete;

    // Stops planting and takes back whatever of its plants is still there (the program or the
    // stamping program may have replaced some with files of their own, which stay).
    void Detener_y_Recoger();
    // The files outside the branch and program folders (those its links point at) that changed,
    // appeared or went since the run began: each one a file some program wrote through a link.
    std::vector<std::string> Ajenos_Cambiados() const;
    // "N enlaces, M tuberías, K dispersos plantados".
    std::string Resumen() const;

  private:
    struct Planta {
        std::string ruta;
        char clase;  // 'e' link, 't' pipe, 'd' sparse file
    };
    void Trabajar();
    void Plantar_Una();
    // The hidden name the file to stamp of a pending request is about to be written under, if
    // the database tells it.
    std::optional<std::string> Nombre_de_Pendiente();
    bool Plantar(const std::string& ruta, char clase);
    std::map<std::string, std::string> Fotografiar_Ajenos() const;

    const Mundo_Fallas& mundo_;
    Parametros_Central central_;
    std::unique_ptr<Motor_MariaDB> conexion_;  // the thread's own, made again after a failure
    std::string ajenos_;
    std::map<std::string, std::string> foto_;  // name of each outside file: its state and bytes
    std::mt19937 azar_;
    std::vector<Planta> plantas_;  // the thread's own until it is joined
    std::atomic<long> enlaces_{0}, tuberias_{0}, dispersos_{0};
    std::atomic<bool> parar_{false};
    std::thread hilo_;
};

}  // namespace facturador::pruebas

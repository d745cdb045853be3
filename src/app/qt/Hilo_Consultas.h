#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

#include "platform/Conexion.h"

namespace facturador {

// The central database work of one window, off the window's thread and on a connection of its
// own, opened with the first job: a slow or hung server never freezes the tray or the window.
// Jobs run one after the other, in the order given; each one's outcome reaches the window on its
// own thread, and only while the window exists. Destroying this object lets the thread finish
// the job it is running and end by itself, without waiting for it (a hung server keeps it only
// until the connection's read timeout).
class Hilo_Consultas {
  public:
    // `cadena`: the central connection string (Cadena_Central_de_Operacion, built on the window's
    // thread). `receptor`: the window whose thread receives the outcomes.
    Hilo_Consultas(std::string cadena, QObject* receptor);
    ~Hilo_Consultas();
    Hilo_Consultas(const Hilo_Consultas&) = delete;
    Hilo_Consultas& operator=(const Hilo_Consultas&) = delete;

    // Runs `trabajo` on the thread's connection; then, on the receptor's thread, `hecho` with its
    // result, or `fallo` with the text of the failure ("error N - description" for the database's).
    template <typename Resultado>
    void Encargar(std::function<Resultado(Conexion&)> trabajo,
                  std::function<void(const Resultado&)> hecho,
                  std::function<void(const std::string&)> fallo) {
        Encargar_Trabajo([trabajo = std::move(trabajo), hecho = std::move(hecho),
                          fallo = std::move(fallo)](const Abrir& conexion) -> Respuesta {
            try {
                auto resultado = std::make_shared<Resultado>(trabajo(conexion()));
                return {[hecho, resultado] { hecho(*resultado); }, false};
            } catch (...) {
                return {[fallo, error = Texto_de_Falla()] { fallo(error); }, true};
            }
        });
    }

    // Jobs given and not yet answered.
    int Pendientes() const { return pendientes_; }

  private:
    struct Estado;
    // The thread's connection, opened when a job first asks for it.
    using Abrir = std::function<Conexion&()>;
    // What the receptor's thread runs, and whether the job failed (its connection is then closed,
    // and the next job opens a new one).
    struct Respuesta {
        std::function<void()> Accion;
        bool Fallo = false;
    };
    using Trabajo = std::function<Respuesta(const Abrir&)>;
    void Encargar_Trabajo(Trabajo trabajo);
    // The text of the exception being handled.
    static std::string Texto_de_Falla();

    std::shared_ptr<Estado> estado_;
    QPointer<QObject> receptor_;
    int pendientes_ = 0;
};

}  // namespace facturador

#include "app/qt/Hilo_Consultas.h"

#include <QCoreApplication>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

#include "platform/Error_Plataforma.h"

namespace facturador {

struct Hilo_Consultas::Estado {
    std::mutex mutex;
    std::condition_variable hay_trabajo;
    std::deque<std::function<void(Conexion&, const Abrir&)>> cola;
    bool cerrado = false;  // the window is gone, or the program ends: nothing more runs
};

Hilo_Consultas::Hilo_Consultas(std::string cadena, QObject* receptor)
    : estado_(std::make_shared<Estado>()), receptor_(receptor) {
    // Once the event loop is left nothing more can be answered, and the program must not wait.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, receptor,
                     [estado = estado_] {
                         const std::lock_guard bloqueo(estado->mutex);
                         estado->cerrado = true;
                         estado->hay_trabajo.notify_all();
                     });
    std::thread([estado = estado_, cadena = std::move(cadena)] {
        Conexion conexion;
        const Abrir abrir = [&]() -> Conexion& {
            if (!conexion.Abierta())
                conexion.Abrir_Propia(cadena);
            return conexion;
        };
        for (;;) {
            std::function<void(Conexion&, const Abrir&)> trabajo;
            {
                std::unique_lock bloqueo(estado->mutex);
                estado->hay_trabajo.wait(bloqueo,
                                         [&] { return estado->cerrado || !estado->cola.empty(); });
                if (estado->cerrado)
                    break;
                trabajo = std::move(estado->cola.front());
                estado->cola.pop_front();
            }
            trabajo(conexion, abrir);
        }
        conexion.Cerrar();
    }).detach();
}

Hilo_Consultas::~Hilo_Consultas() {
    const std::lock_guard bloqueo(estado_->mutex);
    estado_->cerrado = true;
    estado_->hay_trabajo.notify_all();
}

void Hilo_Consultas::Encargar_Trabajo(Trabajo trabajo) {
    ++pendientes_;
    QPointer<QObject> receptor = receptor_;
    const std::lock_guard bloqueo(estado_->mutex);
    estado_->cola.push_back([this, receptor, estado = estado_, trabajo = std::move(trabajo)](
                                Conexion& conexion, const Abrir& abrir) {
        Respuesta respuesta = trabajo(abrir);
        if (respuesta.Fallo)
            conexion.Cerrar();
        // Posted under the lock: once the window is gone (or the program ends) nothing is.
        const std::lock_guard bloqueo_respuesta(estado->mutex);
        if (estado->cerrado)
            return;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this, receptor, accion = std::move(respuesta.Accion)] {
                // This object lives as long as its window.
                if (!receptor)
                    return;
                --pendientes_;
                accion();
            },
            Qt::QueuedConnection);
    });
    estado_->hay_trabajo.notify_one();
}

std::string Hilo_Consultas::Texto_de_Falla() {
    try {
        throw;
    } catch (const Error_Plataforma& e) {
        return "error " + std::to_string(e.Numero) + " - " + e.Descripcion;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "falla desconocida";
    }
}

}  // namespace facturador

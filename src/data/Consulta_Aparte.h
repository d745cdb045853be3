#pragma once

#include <functional>
#include <future>
#include <memory>

#include "data/Conexiones.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

// The program ended while a query ran apart; its outcome was dropped.
inline constexpr long kError_Consulta_Abandonada = 30020;
inline constexpr const char* kConsulta_Abandonada =
    "El programa terminó antes de que respondiera la base de datos central";

// Where the central queries of the cycle and of the operator's windows run. The program without
// windows runs them in place, on the program's pool. A window runs each one on a thread of its
// own, on a connection of its own, and handles its events until it ends: a slow or hung server
// never freezes the tray.
class Lugar_Consultas {
  public:
    virtual ~Lugar_Consultas() = default;
    // Runs `consulta` with the way to open its connection there, and waits for it; false when the
    // program ends first. Apart, `consulta` runs beside the program's event handlers: it holds
    // everything it uses.
    virtual bool Ejecutar_Consulta(const std::function<void(const Abrir_Central&)>& consulta) {
        consulta(Abrir_Conexion_Central);
        return true;
    }
};

// The place that runs every query in place: the program without windows.
inline Lugar_Consultas& Consultas_En_Sitio() {
    static Lugar_Consultas en_sitio;
    return en_sitio;
}

// Runs `consulta` where `lugar` says; its result or its failure reaches the caller on the
// program's thread. `consulta` must use nothing of the program's state but copies it holds.
template <typename R>
R Consultar_Central(Lugar_Consultas& lugar, std::function<R(const Abrir_Central&)> consulta) {
    auto tarea = std::make_shared<std::packaged_task<R(const Abrir_Central&)>>(std::move(consulta));
    std::future<R> respuesta = tarea->get_future();
    if (!lugar.Ejecutar_Consulta([tarea](const Abrir_Central& abrir) { (*tarea)(abrir); }))
        throw Error_Plataforma(kError_Consulta_Abandonada, kConsulta_Abandonada);
    return respuesta.get();
}

// Consultar_Central of a query on one connection, opened for it and closed after it.
template <typename R>
R Consultar_en_Conexion(Lugar_Consultas& lugar, std::function<R(Conexion&)> consulta) {
    return Consultar_Central<R>(lugar,
                                [consulta = std::move(consulta)](const Abrir_Central& abrir) {
                                    Conexion conexion;
                                    abrir(conexion);
                                    return consulta(conexion);
                                });
}

}  // namespace facturador

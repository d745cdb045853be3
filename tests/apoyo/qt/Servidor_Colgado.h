#pragma once

#include <QTimer>

#include <functional>
#include <memory>

#include "apoyo/Proxy_Central.h"

namespace facturador::pruebas {

// Runs `accion` with the server hung on the first statement that starts with `inicio`. While it
// hangs, `mientras` runs from the program's event loop (so it proves that the loop still turns);
// then the server drops that connection. Answers whether `mientras` ran.
inline bool Con_Servidor_Colgado(const char* inicio, const std::function<void()>& accion,
                                 const std::function<void()>& mientras) {
    auto proxy = std::make_unique<Proxy_Central>(inicio, Proxy_Central::Corte::Colgado);
    bool corrio = false;
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        if (!proxy || !proxy->Cortado())
            return;
        mientras();
        corrio = true;
        proxy.reset();
    });
    vigia.start(10);
    accion();
    return corrio;
}

}  // namespace facturador::pruebas

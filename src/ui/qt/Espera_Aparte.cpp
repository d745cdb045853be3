#include "ui/qt/Espera_Aparte.h"

#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <memory>
#include <thread>

namespace facturador {

namespace {

// How often the waiting loop looks whether the work is done: well under what an operator notices.
constexpr int kSondeo_ms = 5;

}  // namespace

bool Esperar_Sin_Congelar(const std::function<void()>& trabajo) {
    // The thread touches nothing of Qt's: it only says that it is done, and the loop looks. So a
    // thread that outlives the program (a hung server) never reaches an object already gone.
    auto hecho = std::make_shared<std::atomic<bool>>(false);
    std::thread([trabajo, hecho] {
        trabajo();
        hecho->store(true);
    }).detach();
    QEventLoop espera;
    QTimer sondeo;
    QObject::connect(&sondeo, &QTimer::timeout, &espera, [&] {
        if (hecho->load())
            espera.quit();
    });
    sondeo.start(kSondeo_ms);
    // Once the program is told to end, every event loop ends and a new one returns at once.
    espera.exec();
    return hecho->load();
}

}  // namespace facturador

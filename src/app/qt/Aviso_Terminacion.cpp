#include "app/qt/Aviso_Terminacion.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>
#include <stdexcept>

namespace facturador {

namespace {

// [0] is written by the signal handler, [1] is watched by the event loop.
int g_pareja[2] = {-1, -1};

void Al_Recibir_Senal(int) {
    const char aviso = 1;
    // Non-blocking: with the socket full a termination is already pending, so nothing is lost.
    [[maybe_unused]] const ssize_t escritos = write(g_pareja[0], &aviso, 1);
}

void Instalar_Manejador(int senal, void (*manejador)(int)) {
    struct sigaction accion {};
    accion.sa_handler = manejador;
    sigemptyset(&accion.sa_mask);
    accion.sa_flags = SA_RESTART;
    sigaction(senal, &accion, nullptr);
}

}  // namespace

Aviso_Terminacion::Aviso_Terminacion(QObject* padre) : QObject(padre) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_pareja) != 0)
        throw std::runtime_error("cannot create the termination socket pair");
    notificador_ = new QSocketNotifier(g_pareja[1], QSocketNotifier::Read, this);
    connect(notificador_, &QSocketNotifier::activated, this, &Aviso_Terminacion::Leer_Aviso);
    Instalar_Manejador(SIGTERM, Al_Recibir_Senal);
    Instalar_Manejador(SIGINT, Al_Recibir_Senal);
}

Aviso_Terminacion::~Aviso_Terminacion() {
    Instalar_Manejador(SIGTERM, SIG_DFL);
    Instalar_Manejador(SIGINT, SIG_DFL);
    delete notificador_;
    close(g_pareja[0]);
    close(g_pareja[1]);
    g_pareja[0] = g_pareja[1] = -1;
}

void Aviso_Terminacion::Leer_Aviso() {
    char avisos[16];
    while (read(g_pareja[1], avisos, sizeof avisos) > 0) {
    }
    emit Terminacion_Pedida();
}

}  // namespace facturador

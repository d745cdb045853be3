#include "platform/Senal_Terminacion.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

namespace facturador {

namespace {

// [0] is written by the signal handler, [1] is watched by the program.
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

Senal_Terminacion::Senal_Terminacion() {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_pareja) != 0)
        throw std::runtime_error("cannot create the termination socket pair");
    Instalar_Manejador(SIGTERM, Al_Recibir_Senal);
    Instalar_Manejador(SIGINT, Al_Recibir_Senal);
}

Senal_Terminacion::~Senal_Terminacion() {
    Instalar_Manejador(SIGTERM, SIG_DFL);
    Instalar_Manejador(SIGINT, SIG_DFL);
    close(g_pareja[0]);
    close(g_pareja[1]);
    g_pareja[0] = g_pareja[1] = -1;
}

int Senal_Terminacion::Descriptor() const {
    return g_pareja[1];
}

bool Senal_Terminacion::Leer() {
    char avisos[16];
    while (read(g_pareja[1], avisos, sizeof avisos) > 0)
        pedida_ = true;
    return pedida_;
}

bool Senal_Terminacion::Esperar(std::chrono::milliseconds plazo) {
    if (Leer())
        return true;
    pollfd vigilado{g_pareja[1], POLLIN, 0};
    // A signal that interrupts the wait has written its byte: Leer finds it.
    poll(&vigilado, 1, static_cast<int>(plazo.count()));
    return Leer();
}

}  // namespace facturador

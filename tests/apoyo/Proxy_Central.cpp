#include "Proxy_Central.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "platform/Pool_Central.h"

namespace facturador::pruebas {

namespace {

constexpr unsigned char kCom_Query = 0x03;
constexpr size_t kCabecera = 4;  // 3 bytes of length, 1 of sequence

const std::string kSocket = SOCKET_BD_PRUEBAS;
const std::string kSocket_Servidor = kSocket + ".servidor";

sockaddr_un Direccion(const std::string& ruta) {
    sockaddr_un direccion{};
    direccion.sun_family = AF_UNIX;
    std::strncpy(direccion.sun_path, ruta.c_str(), sizeof direccion.sun_path - 1);
    return direccion;
}

void Escribir_Todo(int fd, const char* datos, size_t largo) {
    while (largo > 0) {
        const ssize_t escritos = ::write(fd, datos, largo);
        if (escritos <= 0)
            return;
        datos += escritos;
        largo -= static_cast<size_t>(escritos);
    }
}

// The server's socket back in its place, also after a run that ended without tidying up.
void Devolver_Socket() {
    if (::access(kSocket_Servidor.c_str(), F_OK) == 0)
        std::rename(kSocket_Servidor.c_str(), kSocket.c_str());
}

}  // namespace

struct Proxy_Central::Par {
    int cliente = -1;
    int servidor = -1;
    std::string del_cliente;  // bytes of a packet not yet complete
    bool callar_respuesta = false;
    ~Par() {
        ::close(cliente);
        ::close(servidor);
    }
};

Proxy_Central::Proxy_Central() {
    Devolver_Socket();
    if (std::rename(kSocket.c_str(), kSocket_Servidor.c_str()) != 0)
        throw std::runtime_error("the test server's socket is not there");
    escucha_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un direccion = Direccion(kSocket);
    if (escucha_ < 0 ||
        ::bind(escucha_, reinterpret_cast<const sockaddr*>(&direccion), sizeof direccion) != 0 ||
        ::listen(escucha_, 16) != 0 || ::pipe(despertar_) != 0) {
        Devolver_Socket();
        throw std::runtime_error("cannot stand in front of the test server");
    }
    Vaciar_Pool_Central();
    hilo_ = std::thread([this] { Bucle(); });
}

Proxy_Central::~Proxy_Central() {
    Escribir_Todo(despertar_[1], "x", 1);
    hilo_.join();
    pares_.clear();
    for (int fd : {escucha_, despertar_[0], despertar_[1]})
        ::close(fd);
    ::unlink(kSocket.c_str());
    Devolver_Socket();
    Vaciar_Pool_Central();
}

void Proxy_Central::Cortar(const std::string& inicio, Corte corte) {
    std::lock_guard candado(mutex_);
    inicio_ = inicio;
    corte_ = corte;
}

void Proxy_Central::Bucle() {
    for (;;) {
        std::vector<pollfd> fds{{despertar_[0], POLLIN, 0}, {escucha_, POLLIN, 0}};
        for (const auto& par : pares_) {
            fds.push_back({par->cliente, POLLIN, 0});
            fds.push_back({par->servidor, POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0)
            continue;
        if (fds[0].revents)
            return;
        if (fds[1].revents & POLLIN)
            Aceptar();
        std::vector<Par*> cerrar;
        for (size_t i = 0; i < pares_.size() && 2 * i + 3 < fds.size(); ++i) {
            Par& par = *pares_[i];
            if ((fds[2 * i + 2].revents && !Del_Cliente(par)) ||
                (fds[2 * i + 3].revents && !Del_Servidor(par)))
                cerrar.push_back(&par);
        }
        std::erase_if(pares_, [&](const auto& par) {
            return std::find(cerrar.begin(), cerrar.end(), par.get()) != cerrar.end();
        });
    }
}

void Proxy_Central::Aceptar() {
    auto par = std::make_unique<Par>();
    par->cliente = ::accept4(escucha_, nullptr, nullptr, SOCK_CLOEXEC);
    par->servidor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un direccion = Direccion(kSocket_Servidor);
    if (par->cliente >= 0 && par->servidor >= 0 &&
        ::connect(par->servidor, reinterpret_cast<const sockaddr*>(&direccion), sizeof direccion) ==
            0)
        pares_.push_back(std::move(par));
}

// Passes the client's packets on whole, and breaks the connection at the one it waits for.
bool Proxy_Central::Del_Cliente(Par& par) {
    char bloque[65536];
    const ssize_t leidos = ::read(par.cliente, bloque, sizeof bloque);
    if (leidos <= 0)
        return false;
    par.del_cliente.append(bloque, static_cast<size_t>(leidos));
    while (par.del_cliente.size() >= kCabecera) {
        const auto byte = [&](size_t i) { return static_cast<unsigned char>(par.del_cliente[i]); };
        const size_t largo = kCabecera + (byte(0) | byte(1) << 8 | byte(2) << 16);
        if (par.del_cliente.size() < largo)
            break;
        const std::string paquete = par.del_cliente.substr(0, largo);
        par.del_cliente.erase(0, largo);
        std::lock_guard candado(mutex_);
        const bool es_el = !inicio_.empty() && !cortado_ && largo > kCabecera &&
                           static_cast<unsigned char>(paquete[kCabecera]) == kCom_Query &&
                           paquete.compare(kCabecera + 1, inicio_.size(), inicio_) == 0;
        if (es_el) {
            cortado_ = true;
            if (corte_ == Corte::Antes_de_Ejecutar)
                return false;
            par.callar_respuesta = true;
        }
        Escribir_Todo(par.servidor, paquete.data(), paquete.size());
    }
    return true;
}

bool Proxy_Central::Del_Servidor(Par& par) {
    char bloque[65536];
    const ssize_t leidos = ::read(par.servidor, bloque, sizeof bloque);
    if (leidos <= 0 || par.callar_respuesta)
        return false;
    Escribir_Todo(par.cliente, bloque, static_cast<size_t>(leidos));
    return true;
}

}  // namespace facturador::pruebas

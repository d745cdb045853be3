#include "Proxy_Central.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "platform/Pool_Central.h"

namespace facturador::pruebas {

namespace {

constexpr char kCom_Query = 0x03;
constexpr size_t kCabecera = 4;  // a packet: 3 bytes of length, 1 of sequence, then the payload

const std::string kSocket = SOCKET_BD_PRUEBAS;
const std::string kSocket_Servidor = kSocket + ".servidor";

int Socket_En(const std::string& ruta, bool escuchar) {
    sockaddr_un direccion{};
    direccion.sun_family = AF_UNIX;
    std::strncpy(direccion.sun_path, ruta.c_str(), sizeof direccion.sun_path - 1);
    const auto* d = reinterpret_cast<const sockaddr*>(&direccion);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool hecho = escuchar ? ::bind(fd, d, sizeof direccion) == 0 && ::listen(fd, 16) == 0
                                : ::connect(fd, d, sizeof direccion) == 0;
    if (!hecho)
        throw std::runtime_error("cannot reach " + ruta);
    return fd;
}

void Pasar(int fd, const std::string& bytes) {
    for (size_t hecho = 0; hecho < bytes.size();) {
        const ssize_t escritos = ::write(fd, bytes.data() + hecho, bytes.size() - hecho);
        if (escritos <= 0)
            return;
        hecho += static_cast<size_t>(escritos);
    }
}

// The server's socket back in its place, also after a run that ended without tidying up.
void Devolver_Socket() {
    if (::access(kSocket_Servidor.c_str(), F_OK) == 0)
        std::rename(kSocket_Servidor.c_str(), kSocket.c_str());
}

}  // namespace

struct Proxy_Central::Par {
    Par(int c, int s) : cliente(c), servidor(s) {}
    int cliente;
    int servidor;
    std::string pendiente;  // the client's bytes of a packet not yet whole
    bool callar = false;    // the server's next answer is kept from the client
    ~Par() {
        ::close(cliente);
        ::close(servidor);
    }
};

Proxy_Central::Proxy_Central(std::string inicio, Corte corte)
    : inicio_(std::move(inicio)), corte_(corte) {
    Devolver_Socket();
    if (std::rename(kSocket.c_str(), kSocket_Servidor.c_str()) != 0 || ::pipe(despertar_) != 0)
        throw std::runtime_error("the test server's socket is not there");
    escucha_ = Socket_En(kSocket, true);
    Vaciar_Pool_Central();
    hilo_ = std::thread([this] { Bucle(); });
}

Proxy_Central::~Proxy_Central() {
    Pasar(despertar_[1], "x");
    hilo_.join();
    pares_.clear();
    for (int fd : {escucha_, despertar_[0], despertar_[1]})
        ::close(fd);
    ::unlink(kSocket.c_str());
    Devolver_Socket();
    Vaciar_Pool_Central();
}

void Proxy_Central::Bucle() {
    for (;;) {
        std::vector<pollfd> fds{{despertar_[0], POLLIN, 0}, {escucha_, POLLIN, 0}};
        for (const auto& par : pares_) {
            fds.push_back({par->cliente, POLLIN, 0});
            fds.push_back({par->servidor, POLLIN, 0});
        }
        ::poll(fds.data(), fds.size(), -1);
        if (fds[0].revents)
            return;
        for (size_t i = pares_.size(); i-- > 0;) {
            Par& par = *pares_[i];
            char bloque[65536];
            bool sigue = true;
            if (fds[2 * i + 2].revents)
                sigue = Del_Cliente(par);
            if (sigue && fds[2 * i + 3].revents) {
                const ssize_t leidos = ::read(par.servidor, bloque, sizeof bloque);
                sigue = leidos > 0 && (!par.callar || corte_ == Corte::Colgado);
                if (sigue && !par.callar)
                    Pasar(par.cliente, std::string(bloque, static_cast<size_t>(leidos)));
            }
            if (!sigue)
                pares_.erase(pares_.begin() + static_cast<long>(i));
        }
        if (fds[1].revents)
            pares_.push_back(
                std::make_unique<Par>(::accept4(escucha_, nullptr, nullptr, SOCK_CLOEXEC),
                                      Socket_En(kSocket_Servidor, false)));
    }
}

// Passes the client's packets on whole, and breaks the connection at the statement awaited.
bool Proxy_Central::Del_Cliente(Par& par) {
    char bloque[65536];
    const ssize_t leidos = ::read(par.cliente, bloque, sizeof bloque);
    if (leidos <= 0)
        return false;
    par.pendiente.append(bloque, static_cast<size_t>(leidos));
    while (par.pendiente.size() >= kCabecera) {
        const auto byte = [&](size_t i) { return static_cast<unsigned char>(par.pendiente[i]); };
        const size_t largo = kCabecera + (byte(0) | byte(1) << 8 | byte(2) << 16);
        if (par.pendiente.size() < largo)
            break;
        const std::string paquete = par.pendiente.substr(0, largo);
        par.pendiente.erase(0, largo);
        if (!cortado_ && paquete.size() > kCabecera && paquete[kCabecera] == kCom_Query &&
            paquete.compare(kCabecera + 1, inicio_.size(), inicio_) == 0) {
            cortado_ = true;
            if (corte_ == Corte::Antes_de_Ejecutar)
                return false;
            par.callar = true;
        }
        Pasar(par.servidor, paquete);
    }
    return true;
}

}  // namespace facturador::pruebas

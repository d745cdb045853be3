// The built program as systemd runs it: what it tells the service manager through a notification
// socket of the test's own, and what it says when the central database is not there at start-up.

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Proxy_Central.h"
#include "apoyo/Siembra.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {
namespace {

using namespace std::chrono_literals;

// A Unix socket bound at `ruta`, of the given type, closed and removed when it goes.
class Socket_Local {
  public:
    Socket_Local(std::string ruta, int tipo) : ruta_(std::move(ruta)) {
        sockaddr_un direccion{};
        direccion.sun_family = AF_UNIX;
        std::strncpy(direccion.sun_path, ruta_.c_str(), sizeof direccion.sun_path - 1);
        fd_ = ::socket(AF_UNIX, tipo | SOCK_CLOEXEC, 0);
        if (::bind(fd_, reinterpret_cast<const sockaddr*>(&direccion), sizeof direccion) != 0)
            ADD_FAILURE() << "cannot bind " << ruta_;
    }
    ~Socket_Local() {
        ::close(fd_);
        ::unlink(ruta_.c_str());
    }
    Socket_Local(const Socket_Local&) = delete;
    Socket_Local& operator=(const Socket_Local&) = delete;
    int Fd() const { return fd_; }
    const std::string& Ruta() const { return ruta_; }

  private:
    std::string ruta_;
    int fd_ = -1;
};

// The service manager's side of NOTIFY_SOCKET: every datagram the program sends, in order.
class Receptor_Notificaciones {
  public:
    explicit Receptor_Notificaciones(const std::string& ruta) : socket_(ruta, SOCK_DGRAM) {}
    std::string Variable() const { return "NOTIFY_SOCKET=" + socket_.Ruta(); }

    // Reads what arrives until `cumplido` holds or the deadline passes.
    bool Esperar(const std::function<bool()>& cumplido, std::chrono::milliseconds plazo) {
        const auto limite = std::chrono::steady_clock::now() + plazo;
        while (!cumplido()) {
            const auto falta = std::chrono::duration_cast<std::chrono::milliseconds>(
                limite - std::chrono::steady_clock::now());
            if (falta.count() <= 0)
                return false;
            pollfd espera{socket_.Fd(), POLLIN, 0};
            if (::poll(&espera, 1, static_cast<int>(falta.count())) == 1) {
                char mensaje[4096];
                const ssize_t leidos = ::recv(socket_.Fd(), mensaje, sizeof mensaje, 0);
                if (leidos > 0)
                    mensajes.emplace_back(mensaje, static_cast<size_t>(leidos));
            }
        }
        return true;
    }
    long Vivos() const {
        return std::count_if(mensajes.begin(), mensajes.end(),
                             [](const std::string& m) { return m.starts_with("WATCHDOG=1\n"); });
    }

    std::vector<std::string> mensajes;

  private:
    Socket_Local socket_;
};

// Ready once started, alive with its status after every cycle, and silent while a cycle hangs on
// a database that stops answering (a timer saying it is alive would keep systemd from restarting
// it); once the hung statement fails, the cycles and their messages come back.
TEST(Gestor_Servicio, Listo_Vivo_Tras_Cada_Ciclo_Y_Callado_Mientras_Un_Ciclo_Cuelga) {
    Vaciar_Base_Central();
    Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s3"), 3, "Centro", "A", 1);
    Sembrar_Ticket(4711, 3, "116");
    Receptor_Notificaciones gestor(Unir_Ruta(entorno.Carpeta(), "notify.sock"));
    // Every connection of the program goes through it; the ticket check's answer never comes.
    std::optional<Proxy_Central> servidor(std::in_place, "SELECT Total, Cancelado FROM Tickets",
                                          Proxy_Central::Corte::Colgado);
    const std::string salida = Unir_Ruta(entorno.Carpeta(), "salida.txt");
    Proceso_Facturador programa(entorno.Carpeta(), Arranque_Hijo{salida, {gestor.Variable()}, {}});

    ASSERT_TRUE(gestor.Esperar([&] { return gestor.Vivos() >= 2; }, 30s)) << Leer_Archivo(salida);
    EXPECT_TRUE(gestor.mensajes.front().starts_with("READY=1\nSTATUS=")) << gestor.mensajes[0];
    EXPECT_TRUE(gestor.mensajes[1].starts_with(
        "WATCHDOG=1\nSTATUS=Pendientes: 0; en timbrado: 0. Último ciclo: "))
        << gestor.mensajes[1];

    Sembrar_Solicitud(1);
    ASSERT_TRUE(Esperar([&] { return servidor->Cortado(); }, 30s));
    gestor.Esperar([] { return false; }, 100ms);  // what the cycles before it sent
    const long vivos = gestor.Vivos();
    EXPECT_FALSE(gestor.Esperar([&] { return gestor.Vivos() > vivos; }, 4s));
    EXPECT_TRUE(programa.Sigue_Corriendo());

    servidor.reset();  // the hung connection breaks
    EXPECT_TRUE(gestor.Esperar([&] { return gestor.Vivos() > vivos; }, 30s));
    EXPECT_TRUE(Esperar_Status(1, "2"));
    programa.Enviar(SIGTERM);
    EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(20s)));
    EXPECT_TRUE(
        gestor.Esperar([&] { return gestor.mensajes.back().starts_with("STOPPING=1"); }, 5s));
}

// With no server behind the socket the program ends as before, and both its standard error and
// its daily log say why: the server, the socket, the account and the connector's own error.
TEST(Gestor_Servicio, Sin_Servidor_Al_Arrancar_Dice_La_Causa_Real) {
    Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    const Socket_Local sin_servidor(Unir_Ruta(entorno.Carpeta(), "mysqld.sock"), SOCK_STREAM);
    const std::string salida = Unir_Ruta(entorno.Carpeta(), "salida.txt");
    Proceso_Facturador programa(
        entorno.Carpeta(), Arranque_Hijo{salida, {"MYSQL_UNIX_PORT=" + sin_servidor.Ruta()}, {}});
    EXPECT_EQ(Codigo_De_Salida(programa.Esperar_Fin(30s)), 1);

    std::string log;
    for (const std::string& nombre : Archivos_en_Carpeta(entorno.Carpeta()))
        if (nombre.starts_with("log_"))
            log += Leer_Archivo(Unir_Ruta(entorno.Carpeta(), nombre));
    for (const std::string& texto : {Leer_Archivo(salida), log}) {
        EXPECT_NE(texto.find("No se pudo conectar con la base de datos central Morvane_Central "
                             "(servidor localhost, socket " +
                             sin_servidor.Ruta() + ", usuario usuarios): error 2002 - "),
                  std::string::npos)
            << texto;
        EXPECT_NE(texto.find("'" + sin_servidor.Ruta() + "' (111)"), std::string::npos);
        EXPECT_NE(texto.find("Favor de seleccionar la base de datos y reiniciar el programa."),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace facturador::pruebas

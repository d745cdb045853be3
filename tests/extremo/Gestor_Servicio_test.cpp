// The built program as systemd runs it: its notices on a socket of the test's own, its start-up.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "apoyo/Bd_Central.h"
#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Proxy_Central.h"
#include "apoyo/Siembra.h"
#include "data/Log.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {
namespace {

using namespace std::chrono_literals;

// A Unix socket bound at `ruta`, of the given type, closed and removed when it goes.
struct Socket_Local {
    Socket_Local(std::string r, int tipo) : ruta(std::move(r)), fd(socket(AF_UNIX, tipo, 0)) {
        sockaddr_un direccion{AF_UNIX, {}};
        std::strncpy(direccion.sun_path, ruta.c_str(), sizeof direccion.sun_path - 1);
        EXPECT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&direccion), sizeof direccion), 0);
    }
    ~Socket_Local() {
        close(fd);
        unlink(ruta.c_str());
    }
    const std::string ruta;
    const int fd;
};

// The service manager's side of NOTIFY_SOCKET: every datagram the program sent, in order.
struct Receptor_Notificaciones {
    bool Esperar_Que(const std::function<bool()>& cumplido, std::chrono::seconds plazo) {
        return Esperar([&] { return Leer(), cumplido(); }, plazo);
    }
    void Leer() {
        char mensaje[4096];
        for (ssize_t n; (n = recv(socket.fd, mensaje, sizeof mensaje, MSG_DONTWAIT)) > 0;)
            mensajes.emplace_back(mensaje, static_cast<size_t>(n));
    }
    long Vivos() const {
        return std::count_if(mensajes.begin(), mensajes.end(),
                             [](const std::string& m) { return m.starts_with("WATCHDOG=1\n"); });
    }
    Socket_Local socket;
    std::vector<std::string> mensajes;
};

// The program built without windows, as the service runs it.
Arranque_Hijo Como_Servicio(const std::vector<std::string>& entorno, const std::string& salida = "") {
    return Arranque_Hijo{salida, entorno, {}, EJECUTABLE_SIN_VENTANAS};
}

// Ready once started, alive after every cycle, and silent while a statement gets no answer (only
// its own 75 s limit ends that wait); once the hung statement fails, the cycles go on.
TEST(Gestor_Servicio, Listo_Vivo_Tras_Cada_Ciclo_Y_Callado_Mientras_Un_Ciclo_Cuelga) {
    Vaciar_Base_Central();
    Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    Receptor_Notificaciones gestor{{Unir_Ruta(entorno.Carpeta(), "notify.sock"), SOCK_DGRAM}, {}};
    // Every connection of the program goes through it; the ticket check's answer never comes.
    std::optional<Proxy_Central> servidor(std::in_place, "SELECT Total, Cancelado FROM Tickets",
                                          Proxy_Central::Corte::Colgado);
    Proceso_Facturador programa(entorno.Carpeta(),
                                Como_Servicio({"NOTIFY_SOCKET=" + gestor.socket.ruta}));

    ASSERT_TRUE(gestor.Esperar_Que([&] { return gestor.Vivos() >= 2; }, 30s));
    EXPECT_TRUE(gestor.mensajes[0].starts_with("READY=1\n")) << gestor.mensajes[0];

    Sembrar_Solicitud(1);
    ASSERT_TRUE(Esperar([&] { return servidor->Cortado(); }, 30s));
    gestor.Leer();  // what the cycles before it sent
    const long vivos = gestor.Vivos();
    const size_t mensajes = gestor.mensajes.size();
    EXPECT_FALSE(gestor.Esperar_Que([&] { return gestor.mensajes.size() > mensajes; }, 4s));

    servidor.reset();  // the hung connection breaks
    EXPECT_TRUE(gestor.Esperar_Que([&] { return gestor.Vivos() > vivos; }, 30s));
    programa.Enviar(SIGTERM);
    EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(20s)));
    gestor.Leer();
    EXPECT_TRUE(gestor.mensajes.back().starts_with("STOPPING=1\n"));
}

// With no server behind the socket the program says why first, on standard error and in its log:
// server, socket, account and the connector's error, never local.dll, which is not at fault. A
// service's central database is always this machine's: it comes up all the same, each cycle's
// status line naming the unreachable database, until a SIGTERM ends it cleanly.
TEST(Gestor_Servicio, Sin_Servidor_Al_Arrancar_Dice_La_Causa_Real_Y_Sigue) {
    Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    const Socket_Local sin_servidor(Unir_Ruta(entorno.Carpeta(), "mysqld.sock"), SOCK_STREAM);
    Receptor_Notificaciones gestor{{Unir_Ruta(entorno.Carpeta(), "notify.sock"), SOCK_DGRAM}, {}};
    const std::string salida = Unir_Ruta(entorno.Carpeta(), "salida.txt");
    Proceso_Facturador programa(
        entorno.Carpeta(), Como_Servicio({"MYSQL_UNIX_PORT=" + sin_servidor.ruta,
                                          "NOTIFY_SOCKET=" + gestor.socket.ruta},
                                         salida));
    const std::string sin_conexion = "sin conexión con la base de datos central.";
    ASSERT_TRUE(gestor.Esperar_Que(
        [&] { return gestor.Vivos() > 0 && gestor.mensajes.back().ends_with(sin_conexion); }, 30s))
        << Leer_Archivo(salida);
    EXPECT_TRUE(gestor.mensajes[0].starts_with("READY=1\n")) << gestor.mensajes[0];
    programa.Enviar(SIGTERM);
    EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(20s)));

    const std::string causa =
        "No se pudo conectar con la base de datos central Morvane_Central (servidor localhost, "
        "socket " +
        sin_servidor.ruta +
        ", usuario usuarios): error 2002 - Can't connect to local "
        "server through socket '" +
        sin_servidor.ruta + "' (111)";
    entorno.reloj.Poner(Reloj_Sistema().Ahora());  // the program's clock names its log
    for (const std::string& archivo :
         {salida, Unir_Ruta(entorno.Carpeta(), Nombre_Archivo_Log())}) {
        const std::string texto = Leer_Archivo(archivo);
        EXPECT_LT(texto.find(causa), texto.find("Error:")) << texto;  // missing: npos, fails
        EXPECT_EQ(texto.find("local.dll"), std::string::npos) << texto;
        EXPECT_EQ(texto.find("Favor de seleccionar"), std::string::npos) << texto;
    }
}

}  // namespace
}  // namespace facturador::pruebas

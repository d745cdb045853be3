#include "Medicion.h"

#include <mysql.h>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <stdexcept>

#include "data/Conexiones.h"
#include "platform/Credenciales_Central.h"
#include "platform/Pool_Central.h"

namespace facturador {

namespace {

// The server the program's connections reach: the socket of the credentials in force, or the one
// MYSQL_UNIX_PORT names.
const char* Socket_Central() {
    const std::optional<std::string>& socket = Credenciales_Vigentes().Socket;
    return socket ? socket->c_str() : std::getenv("MYSQL_UNIX_PORT");
}

// A connection of the benchmark's own to that server: as the program's user,
// or as the administrator account of the user running the benchmark (the private server lets
// that user in through its socket).
class Estado_Servidor {
  public:
    explicit Estado_Servidor(bool administrador = false) : mysql_(mysql_init(nullptr)) {
        const passwd* usuario = getpwuid(geteuid());
        const char* cuenta = administrador && usuario ? usuario->pw_name : kUsuario_Central;
        if (!mysql_real_connect(mysql_, "localhost", cuenta,
                                administrador ? nullptr : kContrasena_Central, kBase_Central, 0,
                                Socket_Central(), 0))
            throw std::runtime_error(std::string("status connection: ") + mysql_error(mysql_));
    }

    void Ejecutar(const std::string& sql) {
        if (mysql_query(mysql_, sql.c_str()))
            throw std::runtime_error(mysql_error(mysql_));
    }
    ~Estado_Servidor() { mysql_close(mysql_); }
    Estado_Servidor(const Estado_Servidor&) = delete;
    Estado_Servidor& operator=(const Estado_Servidor&) = delete;

    Contadores Leer() {
        if (mysql_query(mysql_, "SHOW GLOBAL STATUS"))
            throw std::runtime_error(mysql_error(mysql_));
        MYSQL_RES* res = mysql_store_result(mysql_);
        Contadores contadores;
        while (MYSQL_ROW fila = mysql_fetch_row(res)) {
            const std::string nombre = fila[0];
            if (nombre == "Questions" || nombre == "Connections" || nombre.starts_with("Com_"))
                contadores[nombre] = std::atoll(fila[1]);
        }
        mysql_free_result(res);
        return contadores;
    }

  private:
    MYSQL* mysql_;
};

// b - a, less what one reading of the counters adds by itself.
Contadores Diferencia(const Contadores& a, const Contadores& b, const Contadores& lectura) {
    Contadores d;
    for (const auto& [nombre, valor] : b) {
        const long long propia = lectura.contains(nombre) ? lectura.at(nombre) : 0;
        const long long delta = valor - a.at(nombre) - propia;
        if (delta != 0)
            d[nombre] = delta;
    }
    return d;
}

}  // namespace

double Medida::Por_Unidad(const std::string& contador, double unidades) const {
    return Servidor.contains(contador) ? Servidor.at(contador) / unidades : 0.0;
}

Medida Medir(const std::function<void()>& accion) {
    Estado_Servidor estado;
    const Contadores antes = estado.Leer();
    const Estadisticas_Pool_Central pool_antes = Estadisticas_Pool();
    const double cpu_antes = Segundos_CPU();
    const auto reloj_antes = std::chrono::steady_clock::now();
    accion();
    Medida medida;
    medida.Segundos =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - reloj_antes).count();
    medida.Segundos_CPU = Segundos_CPU() - cpu_antes;
    const Estadisticas_Pool_Central pool_despues = Estadisticas_Pool();
    medida.Conexiones_Fisicas_Pool =
        pool_despues.Conexiones_Fisicas - pool_antes.Conexiones_Fisicas;
    medida.Reutilizaciones_Pool = pool_despues.Reutilizaciones - pool_antes.Reutilizaciones;
    const Contadores despues = estado.Leer();
    const Contadores lectura = Diferencia(despues, estado.Leer(), {});
    medida.Servidor = Diferencia(antes, despues, lectura);
    return medida;
}

void Poner_Durabilidad(int flush_log_at_trx_commit) {
    Estado_Servidor(true).Ejecutar("SET GLOBAL innodb_flush_log_at_trx_commit = " +
                                   std::to_string(flush_log_at_trx_commit));
}

void Administrar_Servidor(const std::string& sql) {
    Estado_Servidor(true).Ejecutar(sql);
}

double Segundos_CPU() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

double Memoria_Maxima_MB() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss / 1024.0;
}

}  // namespace facturador

// Cost of an idle synchronization cycle (empty central tables): CPU time of this process,
// statements the server receives and physical connections it opens, per cycle.
//   scripts/mariadb-privado.sh iniciar build/mariadb-bench
//   MYSQL_UNIX_PORT=build/mariadb-bench/mysqld.sock build/bench/bench_ciclo_inactivo
// (bench/correr.sh does both.)

#include <mysql.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

#include "app/Ciclo_Sincronizacion.h"
#include "data/Conexiones.h"
#include "platform/Entorno.h"
#include "platform/Pool_Central.h"

namespace facturador {
namespace {

constexpr int kCiclos_Calentamiento = 5;
constexpr int kCiclos_Medidos = 100;

class Vista_Banco : public Vista_Ciclo {
  public:
    void Mostrar_Status(const std::string&) override {}
    void Mostrar_Ver_Errores(bool) override {}
    void Mostrar_Datos() override {}
    void Procesar_Eventos() override {}
    void Habilitar_Timer(bool habilitado) override { timer_ = habilitado; }
    bool Timer_Habilitado() const override { return timer_; }
    void Habilitar_Ocultamiento(bool) override {}

  private:
    bool timer_ = true;
};

// Nobody sits at the machine: whatever would be shown goes to stderr.
class Operador_Ausente : public Operador {
  public:
    void Mensaje_Estandar(const std::string& texto, const std::string& titulo) override {
        std::fprintf(stderr, "[%s] %s\n", titulo.c_str(), texto.c_str());
    }
    void Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) override {
        Mensaje_Estandar(mensaje, titulo);
    }
    bool Pedir_Confirmacion(const std::string&, const std::string&) override { return false; }
    void Configurar_Ruta_BD() override {}
    std::string Elegir_Carpeta(const std::string&) override { return {}; }
    void Abrir_Documento(const std::string&) override {}
};

using Contadores = std::map<std::string, long long>;

// A physical connection of its own, outside the program's pool, that reads the server's counters.
class Estado_Servidor {
  public:
    Estado_Servidor() : mysql_(mysql_init(nullptr)) {
        if (!mysql_real_connect(mysql_, "localhost", kUsuario_Central, kContrasena_Central,
                                kBase_Central, 0, std::getenv("MYSQL_UNIX_PORT"), 0))
            throw std::runtime_error(std::string("status connection: ") + mysql_error(mysql_));
    }
    ~Estado_Servidor() { mysql_close(mysql_); }

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

double Segundos_CPU() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    auto segundos = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return segundos(uso.ru_utime) + segundos(uso.ru_stime);
}

void Vaciar_Tablas_Centrales() {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    for (const char* tabla : {"Solicitudes_de_Facturas_OL", "Tickets", "Facturas_Electronicas",
                              "Comprobantes_Fiscales", "Montos_Facturados",
                              "Configuracion_Facturas_Electronicas", "Sucursales", "Configuracion"})
        conexion.Ejecutar(std::string("DELETE FROM ") + tabla);
    Cerrar_Conexion(conexion);
}

void Informar(const Contadores& servidor, const Estadisticas_Pool_Central& pool_antes,
              const Estadisticas_Pool_Central& pool_despues, double cpu, double real) {
    const double n = kCiclos_Medidos;
    auto por_ciclo = [&](const Contadores& c, const char* nombre) {
        return c.contains(nombre) ? c.at(nombre) / n : 0.0;
    };
    std::printf("Ciclos inactivos medidos: %d (tras %d de calentamiento)\n", kCiclos_Medidos,
                kCiclos_Calentamiento);
    std::printf("CPU del proceso por ciclo:   %.3f ms (meta: < 5 ms)\n", cpu * 1000 / n);
    std::printf("Tiempo real por ciclo:       %.3f ms\n", real * 1000 / n);
    std::printf("Sentencias por ciclo:        %.2f (Questions)\n",
                por_ciclo(servidor, "Questions"));
    for (const auto& [nombre, valor] : servidor)
        if (nombre.starts_with("Com_"))
            std::printf("  %-26s %.2f\n", nombre.c_str(), valor / n);
    std::printf("Conexiones físicas por ciclo: %.2f servidor (Connections), %.2f pool (meta: 0)\n",
                por_ciclo(servidor, "Connections"),
                (pool_despues.Conexiones_Fisicas - pool_antes.Conexiones_Fisicas) / n);
    std::printf("Aperturas servidas por el pool por ciclo: %.2f\n",
                (pool_despues.Reutilizaciones - pool_antes.Reutilizaciones) / n);
}

int Correr() {
    namespace fs = std::filesystem;
    std::string carpeta = (fs::temp_directory_path() / "bench-ciclo-XXXXXX").string();
    if (!mkdtemp(carpeta.data()))
        throw std::runtime_error("cannot create a program folder");
    Operador_Ausente operador;
    Entorno_Actual() = Entorno{nullptr, &operador, carpeta};

    Vaciar_Tablas_Centrales();
    Vista_Banco vista;
    Ciclo_Sincronizacion ciclo(vista);
    for (int i = 0; i < kCiclos_Calentamiento; ++i)
        ciclo.tmrTimer_Timer();

    Estado_Servidor estado;
    const Contadores antes = estado.Leer();
    const Estadisticas_Pool_Central pool_antes = Estadisticas_Pool();
    const double cpu_antes = Segundos_CPU();
    const auto reloj_antes = std::chrono::steady_clock::now();
    for (int i = 0; i < kCiclos_Medidos; ++i)
        ciclo.tmrTimer_Timer();
    const double real =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - reloj_antes).count();
    const double cpu = Segundos_CPU() - cpu_antes;
    const Estadisticas_Pool_Central pool_despues = Estadisticas_Pool();
    const Contadores despues = estado.Leer();
    const Contadores lectura = Diferencia(despues, estado.Leer(), {});

    Informar(Diferencia(antes, despues, lectura), pool_antes, pool_despues, cpu, real);
    fs::remove_all(carpeta);
    return 0;
}

}  // namespace
}  // namespace facturador

int main() {
    try {
        return facturador::Correr();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_ciclo_inactivo: %s\n", e.what());
        return 1;
    }
}

// Peak memory of the real program (VmHWM of its process) while it drains 10,000 pending requests
// across five branches, with the simulated stamping program beside it, until every request is
// stamped and stored (status 3). Also reports how long the whole road took. Another number of
// requests can be given as its argument (10 shows the program's memory with next to no work).
//   bench/correr.sh bench_memoria_programa [BUILD_FOLDER]
// starts a private server, runs it there and stops the server.

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Banco.h"
#include "Siembra_Banco.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Proceso_Facturador.h"
#include "data/Conexiones.h"
#include "platform/Archivos.h"

namespace facturador {
namespace {

using namespace std::chrono_literals;
using pruebas::Arranque_Hijo;

int g_solicitudes = 10000;
// The drain gives up when no request moves on for this long.
constexpr auto kEspera_Sin_Avance = 120s;

// The peak resident memory of a process so far, in MB, from /proc (0 once it has gone).
double VmHWM_MB(pid_t pid) {
    std::ifstream estado("/proc/" + std::to_string(pid) + "/status");
    for (std::string linea; std::getline(estado, linea);)
        if (linea.starts_with("VmHWM:"))
            return std::stod(linea.substr(6)) / 1024.0;
    return 0;
}

long long Contar_Central(const std::string& sql) {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    const long long n = Contar(conexion, sql);
    Cerrar_Conexion(conexion);
    return n;
}

// How far the requests have gone: each counts its status (1 pending, 2 queued, 3 stored).
long long Avance() {
    return Contar_Central("SELECT SUM(Status) FROM Solicitudes_de_Facturas_OL");
}

// A program folder with its local databases, and a runtime folder of its own for the lock.
Arranque_Hijo Preparar_Programa(const std::string& carpeta, const std::string& programa) {
    const std::string runtime = Unir_Ruta(carpeta, "runtime");
    std::filesystem::create_directories(programa);
    std::filesystem::create_directories(runtime);
    chmod(runtime.c_str(), 0700);
    pruebas::Ejecutar_Script_SQLite(Unir_Ruta(programa, "local.dll"), "sql/local/local.sql");
    pruebas::Ejecutar_Script_SQLite(Unir_Ruta(programa, "Taldo.dll"), "sql/local/taldo.sql");
    return {Unir_Ruta(carpeta, "salida.txt"), {"XDG_RUNTIME_DIR=" + runtime}, {}, {}};
}

void Correr(const std::string& carpeta) {
    Conexion preparacion;
    Abrir_Conexion_Central(preparacion);
    Vaciar_Tablas_Centrales(preparacion);
    Sembrar_Sucursales(preparacion, carpeta);
    Sembrar_Solicitudes(preparacion, 1, g_solicitudes);
    Cerrar_Conexion(preparacion);

    const std::string carpeta_programa = Unir_Ruta(carpeta, "programa");
    const Arranque_Hijo arranque = Preparar_Programa(carpeta, carpeta_programa);
    const auto inicio = std::chrono::steady_clock::now();
    pruebas::Proceso_Facturador programa(carpeta_programa, arranque);
    pruebas::Proceso_Hijo timbrador(EJECUTABLE_TIMBRADOR, {}, arranque);
    const long long meta = 3LL * g_solicitudes;
    long long avance = 0;
    double pico = 0;
    auto ultimo_avance = inicio;
    while (avance < meta && programa.Sigue_Corriendo() &&
           std::chrono::steady_clock::now() - ultimo_avance < kEspera_Sin_Avance) {
        std::this_thread::sleep_for(1s);
        pico = std::max(pico, VmHWM_MB(programa.Pid()));
        if (const long long ahora = Avance(); ahora > avance) {
            avance = ahora;
            ultimo_avance = std::chrono::steady_clock::now();
        }
    }
    const double segundos =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    const long long hechas =
        Contar_Central("SELECT COUNT(*) FROM Solicitudes_de_Facturas_OL WHERE Status = 3");
    std::printf("%lld de %d solicitudes en status 3 en %.0f s (%.0f solicitudes/s)\n", hechas,
                g_solicitudes, segundos, hechas / segundos);
    std::printf("memoria máxima del programa (VmHWM): %.1f MB (meta: < 64 MB)\n", pico);
}

}  // namespace
}  // namespace facturador

int main(int argc, char** argv) {
    if (argc > 1)
        facturador::g_solicitudes = std::atoi(argv[1]);
    return facturador::Correr_Banco("bench_memoria_programa", facturador::Correr);
}

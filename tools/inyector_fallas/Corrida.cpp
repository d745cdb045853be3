#include "Corrida.h"

#include <fmt/format.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <numeric>
#include <optional>
#include <thread>

#include "Invariantes.h"
#include "Vecino_Corrida.h"
#include "apoyo/Bd_Central.h"
#include "apoyo/Proceso_Facturador.h"

namespace facturador::pruebas {

using namespace std::chrono_literals;

namespace {

constexpr size_t kFilas = static_cast<size_t>(Falla::Cuantas) + 1;  // every fault, and the end
constexpr size_t kFila_Final = kFilas - 1;
// SELECTs that a few cycles make at the least: with them the program is still cycling.
constexpr long kSelects_De_Ciclos = 3;
// The end waits while requests keep completing, and gives up after this long without progress.
constexpr auto kEspera_Sin_Avance = 20s;
// After a fault on a cluster, invoicing resumes within this many seconds.
constexpr double kPlazo_Reanudacion = 60;

long Segundos_Desde(std::chrono::steady_clock::time_point inicio) {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() -
                                                            inicio)
        .count();
}

long Selects() {
    return std::stol(Consultar_Central("SHOW GLOBAL STATUS LIKE 'Com_select'").Texto(size_t{1}));
}

// How long a copy alive may go without reading the database before it counts as blocked: a few
// cycles on one server; on a cluster, a copy whose node was frozen may be inside a statement the
// server answers only when its own waits run out (a lock wait of 50 s, the program's read timeout
// of 75 s), so the limit is beyond those.
std::chrono::seconds Plazo_Ciclos(const Mundo_Fallas& mundo) {
    return mundo.Nodos() > 0 ? 120s : 8s;
}

// With the stamping program stopped only the copy of the program on a node reads it. A copy that
// takes longer than a few cycles is told, with the time it took.
bool Sigue_Ciclando(const Mundo_Fallas& mundo, size_t copia) {
    mundo.Leer_Desde(mundo.Nodo_De(copia));
    const auto inicio = std::chrono::steady_clock::now();
    const long desde = Selects();
    const bool cicla =
        Esperar([&] { return Selects() - desde >= kSelects_De_Ciclos; }, Plazo_Ciclos(mundo));
    if (const long segundos = Segundos_Desde(inicio); cicla && segundos >= 8)
        fmt::print("    la copia {} volvió a ciclar tras {} s\n", copia, segundos);
    mundo.Leer_Del_Primero();
    return cicla;
}

// Seconds without a worker after a cluster's fault: the median and the worst.
std::string Mediana_y_Peor(std::vector<double> tiempos) {
    if (tiempos.empty())
        return "-";
    std::sort(tiempos.begin(), tiempos.end());
    return fmt::format("{:.1f}/{:.1f}", tiempos[tiempos.size() / 2], tiempos.back());
}

struct Tabla {
    std::array<long, kFilas> iteraciones{};
    std::array<Conteo, kFilas> violaciones{};
    std::array<std::vector<double>, kFilas> sin_trabajador;

    void Sumar(size_t fila, const Conteo& conteo) {
        for (size_t v = 0; v < kCuantas_Violaciones; ++v)
            violaciones[fila][v] += conteo[v];
    }
    long Total() const {
        long total = 0;
        for (const Conteo& c : violaciones)
            total = std::accumulate(c.begin(), c.end(), total);
        return total;
    }
    void Imprimir() const {
        fmt::print("\n{:<20} {:>11}", "falla", "iteraciones");
        for (const char* nombre : kNombres_Violacion)
            fmt::print(" {:>16}", nombre);
        fmt::print(" {:>22}", "sin_trabajador_s_med/max");
        for (size_t f = 0; f < kFilas; ++f) {
            if (iteraciones[f] == 0)
                continue;
            fmt::print("\n{:<20} {:>11}", f == kFila_Final ? "final" : kNombres_Falla[f],
                       iteraciones[f]);
            for (long n : violaciones[f])
                fmt::print(" {:>16}", n);
            fmt::print(" {:>22}", Mediana_y_Peor(sin_trabajador[f]));
        }
        fmt::print("\n");
    }
};

void Informar(const std::string& encabezado, Invariantes& invariantes) {
    fmt::print("{}\n", encabezado);
    for (const std::string& v : invariantes.nuevas)
        fmt::print("    VIOLACION {}\n", v);
    std::fflush(stdout);
}

// Every copy frozen where it is (or dead), the nodes agreeing on every write: the state a crash
// would leave now.
Conteo Revisar_Congelado(Mundo_Fallas& mundo, Invariantes& invariantes,
                         const std::function<Conteo()>& revisar) {
    for (size_t c = 0; c < mundo.Copias(); ++c)
        mundo.Senal_Programa(SIGSTOP, c);
    Conteo conteo{};
    if (mundo.Nodos() > 0 && !mundo.Nodos_Al_Dia())
        invariantes.Anotar(conteo, kBloqueado, "los nodos no se pusieron al día");
    const Conteo revisado = revisar();
    for (size_t v = 0; v < kCuantas_Violaciones; ++v)
        conteo[v] += revisado[v];
    return conteo;
}

// A copy alive that no longer reads the database is blocked, and is killed and started again.
void Revisar_Ciclos(Mundo_Fallas& mundo, Invariantes& invariantes, Conteo& conteo,
                    const std::string& cuando) {
    for (size_t c = 0; c < mundo.Copias(); ++c)
        if (mundo.Programa_Vivo(c) && !Sigue_Ciclando(mundo, c)) {
            invariantes.Anotar(conteo, kBloqueado,
                               fmt::format("copia {} sin ciclos {}", c, cuando));
            mundo.Matar_Programa(c);
        }
}

// Checks the state a crash would leave now, with the stamping program stopped between two
// passes; then lets every copy go on (those the fault killed started again).
Conteo Revisar_Tras_Falla(Mundo_Fallas& mundo, Invariantes& invariantes, int numero, Falla falla) {
    mundo.Detener_Timbrador();
    invariantes.nuevas.clear();
    Conteo conteo{};
    mundo.Sanar_Nodos();
    const bool matada = falla == Falla::Matar_en_Generacion || falla == Falla::Matar_en_Recepcion;
    for (size_t c = 0; c < mundo.Copias(); ++c)
        if (!mundo.Programa_Vivo(c) && !matada)
            invariantes.Anotar(conteo, kBloqueado,
                               fmt::format("la copia {} terminó sola en la falla {}", c, numero));
    Revisar_Ciclos(mundo, invariantes, conteo, fmt::format("tras la falla {}", numero));
    const Conteo revisado =
        Revisar_Congelado(mundo, invariantes, [&] { return invariantes.Revisar(); });
    for (size_t v = 0; v < kCuantas_Violaciones; ++v)
        conteo[v] += revisado[v];
    for (size_t c = 0; c < mundo.Copias(); ++c)
        if (mundo.Programa_Vivo(c))
            mundo.Senal_Programa(SIGCONT, c);
        else
            mundo.Arrancar_Programa(c);
    mundo.Arrancar_Timbrador();
    return conteo;
}

// How far the valid requests have gone: each counts its status (1 pending, 2 queued, 3 stored),
// so that a long first pass that queues a backlog counts as progress too.
long Avance(const std::vector<int>& validas) {
    std::string lista;
    for (const int id : validas)
        lista += (lista.empty() ? "" : ",") + std::to_string(id);
    return std::stol("0" + Valor_Central("SELECT SUM(LEAST(Status, 3)) FROM "
                                         "Solicitudes_de_Facturas_OL WHERE ID IN (" +
                                         lista + ")"));
}

// A last restart of every program, then the wait for every valid request to be stamped.
Conteo Revisar_Final(Mundo_Fallas& mundo, Invariantes& invariantes,
                     const std::vector<int>& validas) {
    mundo.Detener_Timbrador();
    for (size_t c = 0; c < mundo.Copias(); ++c) {
        mundo.Matar_Programa(c);
        mundo.Arrancar_Programa(c);
    }
    mundo.Arrancar_Timbrador();
    const long meta = 3 * static_cast<long>(validas.size());
    long avance = -1;
    while (avance < meta) {
        const long antes = avance;
        if (!Esperar([&] { return (avance = Avance(validas)) > antes; }, kEspera_Sin_Avance))
            break;
    }
    mundo.Detener_Timbrador();
    invariantes.nuevas.clear();
    Conteo conteo{};
    Revisar_Ciclos(mundo, invariantes, conteo, "al final");
    const Conteo final =
        Revisar_Congelado(mundo, invariantes, [&] { return invariantes.Revisar_Final(validas); });
    for (size_t v = 0; v < kCuantas_Violaciones; ++v)
        conteo[v] += final[v];
    for (size_t c = 0; c < mundo.Copias(); ++c)
        mundo.Matar_Programa(c);
    return conteo;
}

// The faults drawn from when none are chosen: a cluster's on a cluster, a server's otherwise
// (the full disk only where a small file system can be mounted).
std::vector<Falla> Fallas_Posibles(const Mundo_Fallas& mundo) {
    std::vector<Falla> posibles;
    for (size_t f = 0; f < static_cast<size_t>(Falla::Cuantas); ++f) {
        const Falla falla = static_cast<Falla>(f);
        if (Es_De_Cluster(falla) == (mundo.Nodos() > 0) &&
            (falla != Falla::Cola_Llena || mundo.Con_Tmpfs()))
            posibles.push_back(falla);
    }
    return posibles;
}

// A failure of the run itself (a node that would not come back, a query it could not make): told
// with what the nodes logged, then every node, copy and the stamping program running again.
void Recobrar_Corrida(Mundo_Fallas& mundo, int numero, const std::exception& e) {
    fmt::print("falla {}: INCIDENTE de la corrida: {}\n", numero, e.what());
    for (int n = 1; n <= mundo.Nodos(); ++n)
        fmt::print("    nodo {}: {}", n, mundo.Errores_Nodo(n));
    std::fflush(stdout);
    mundo.Detener_Timbrador();
    mundo.Sanar_Nodos();
    mundo.Leer_Del_Primero();
    for (size_t c = 0; c < mundo.Copias(); ++c)
        if (!mundo.Programa_Vivo(c)) {
            mundo.Senal_Programa(SIGCONT, c);
            mundo.Arrancar_Programa(c);
        }
    for (size_t c = 0; c < mundo.Copias(); ++c)
        mundo.Senal_Programa(SIGCONT, c);
    mundo.Arrancar_Timbrador();
}

// A cluster's fault that left no worker for longer than a minute.
void Revisar_Reanudacion(Invariantes& invariantes, Conteo& conteo, int numero,
                         const std::optional<double>& segundos) {
    if (!segundos || *segundos > kPlazo_Reanudacion)
        invariantes.Anotar(conteo, kSin_Reanudar,
                           fmt::format("falla {}: {}", numero,
                                       segundos ? fmt::format("{:.1f} s", *segundos)
                                                : std::string("ninguna copia emitió")));
}

}  // namespace

int Correr_Fallas(const Opciones_Corrida& opciones) {
    std::mt19937 azar(opciones.semilla);
    Mundo_Fallas mundo(opciones.carpeta_servidor, opciones.nodos);
    const std::vector<Falla> elegidas =
        opciones.elegidas.empty() ? Fallas_Posibles(mundo) : opciones.elegidas;
    Siembra_Fallas::Perfil_Hostil(4);
    Siembra_Fallas siembra(azar);
    Invariantes invariantes(mundo);
    std::optional<Vecino_en_Corrida> vecino;
    if (opciones.vecino_hostil) {
        vecino.emplace(mundo, opciones.semilla + 1);
        invariantes.ajenos_cambiados = [&vecino] { return vecino->Ajenos_Cambiados(); };
    }
    Tabla tabla;
    const auto inicio = std::chrono::steady_clock::now();
    int incidentes = 0;

    for (size_t c = 0; c < mundo.Copias(); ++c)
        mundo.Arrancar_Programa(c);
    mundo.Arrancar_Timbrador();
    siembra.Validas(10, {1, 2, 3, 4});
    for (int i = 1; i <= opciones.fallas; ++i) {
        const Falla falla =
            elegidas[std::uniform_int_distribution<size_t>(0, elegidas.size() - 1)(azar)];
        const size_t fila = static_cast<size_t>(falla);
        try {
            const std::optional<double> sin_trabajador = Inyectar(falla, mundo, siembra, azar);
            ++tabla.iteraciones[fila];
            Conteo conteo = Revisar_Tras_Falla(mundo, invariantes, i, falla);
            if (Es_De_Cluster(falla)) {
                Revisar_Reanudacion(invariantes, conteo, i, sin_trabajador);
                if (sin_trabajador)
                    tabla.sin_trabajador[fila].push_back(*sin_trabajador);
            }
            tabla.Sumar(fila, conteo);
            Informar(fmt::format("falla {} de {}: {} ({} s){}", i, opciones.fallas,
                                 kNombres_Falla[fila], Segundos_Desde(inicio),
                                 sin_trabajador
                                     ? fmt::format(", sin trabajador {:.1f} s", *sin_trabajador)
                                     : ""),
                     invariantes);
        } catch (const std::exception& e) {
            if (mundo.Nodos() == 0)
                throw;
            ++incidentes;
            Recobrar_Corrida(mundo, i, e);
        }
    }
    if (vecino) {
        vecino->Detener_y_Recoger();
        fmt::print("vecino hostil: {}\n", vecino->Resumen());
    }
    ++tabla.iteraciones[kFila_Final];
    tabla.Sumar(kFila_Final, Revisar_Final(mundo, invariantes, siembra.Ids_Validas()));
    Informar(fmt::format("final: {} solicitudes válidas", siembra.Ids_Validas().size()),
             invariantes);

    tabla.Imprimir();
    fmt::print("semilla {}, {} fallas en {} s, {} violaciones, {} incidentes de la corrida\n",
               opciones.semilla, opciones.fallas, Segundos_Desde(inicio), tabla.Total(),
               incidentes);
    return tabla.Total() == 0 || opciones.solo_informar ? 0 : 1;
}

}  // namespace facturador::pruebas

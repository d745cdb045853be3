#include "Corrida.h"

#include <fmt/format.h>
#include <signal.h>

#include <chrono>
#include <numeric>
#include <thread>

#include "Invariantes.h"
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

long Segundos_Desde(std::chrono::steady_clock::time_point inicio) {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() -
                                                            inicio)
        .count();
}

long Selects() {
    return std::stol(Consultar_Central("SHOW GLOBAL STATUS LIKE 'Com_select'").Texto(size_t{1}));
}

// With the stamping program stopped only the program reads the central database.
bool Sigue_Ciclando() {
    const long desde = Selects();
    return Esperar([&] { return Selects() - desde >= kSelects_De_Ciclos; }, 8s);
}

struct Tabla {
    std::array<long, kFilas> iteraciones{};
    std::array<Conteo, kFilas> violaciones{};

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
        for (size_t f = 0; f < kFilas; ++f) {
            fmt::print("\n{:<20} {:>11}", f == kFila_Final ? "final" : kNombres_Falla[f],
                       iteraciones[f]);
            for (long n : violaciones[f])
                fmt::print(" {:>16}", n);
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

// Checks the state a crash would leave now: the stamping program stopped between two passes, the
// program frozen where it is (or dead). A program alive that no longer reads the database is
// blocked, and is killed and started again.
Conteo Revisar_Tras_Falla(Mundo_Fallas& mundo, Invariantes& invariantes, int numero, Falla falla) {
    mundo.Detener_Timbrador();
    invariantes.nuevas.clear();
    Conteo conteo{};
    const bool matada = falla == Falla::Matar_en_Generacion || falla == Falla::Matar_en_Recepcion;
    if (!mundo.Programa_Vivo() && !matada)
        invariantes.Anotar(conteo, kBloqueado, fmt::format("terminó solo en la falla {}", numero));
    if (mundo.Programa_Vivo() && !Sigue_Ciclando()) {
        invariantes.Anotar(conteo, kBloqueado, fmt::format("sin ciclos tras la falla {}", numero));
        mundo.Matar_Programa();
    }
    mundo.Senal_Programa(SIGSTOP);
    const Conteo revisado = invariantes.Revisar();
    for (size_t v = 0; v < kCuantas_Violaciones; ++v)
        conteo[v] += revisado[v];
    if (mundo.Programa_Vivo())
        mundo.Senal_Programa(SIGCONT);
    else
        mundo.Arrancar_Programa();
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

// A last restart of both programs, then the wait for every valid request to be stamped.
Conteo Revisar_Final(Mundo_Fallas& mundo, Invariantes& invariantes,
                     const std::vector<int>& validas) {
    mundo.Detener_Timbrador();
    mundo.Matar_Programa();
    mundo.Arrancar_Programa();
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
    if (!Sigue_Ciclando())
        invariantes.Anotar(conteo, kBloqueado, "sin ciclos al final");
    mundo.Senal_Programa(SIGSTOP);
    const Conteo final = invariantes.Revisar_Final(validas);
    for (size_t v = 0; v < kCuantas_Violaciones; ++v)
        conteo[v] += final[v];
    mundo.Matar_Programa();
    return conteo;
}

}  // namespace

int Correr_Fallas(const Opciones_Corrida& opciones) {
    std::mt19937 azar(opciones.semilla);
    std::vector<Falla> elegidas = opciones.elegidas;
    Mundo_Fallas mundo(opciones.carpeta_servidor);
    if (elegidas.empty())
        for (size_t f = 0; f < static_cast<size_t>(Falla::Cuantas); ++f)
            if (static_cast<Falla>(f) != Falla::Cola_Llena || mundo.Con_Tmpfs())
                elegidas.push_back(static_cast<Falla>(f));
    Siembra_Fallas::Perfil_Hostil(4);
    Siembra_Fallas siembra(azar);
    Invariantes invariantes(mundo);
    Tabla tabla;
    const auto inicio = std::chrono::steady_clock::now();

    mundo.Arrancar_Programa();
    mundo.Arrancar_Timbrador();
    siembra.Validas(10, {1, 2, 3, 4});
    for (int i = 1; i <= opciones.fallas; ++i) {
        const Falla falla =
            elegidas[std::uniform_int_distribution<size_t>(0, elegidas.size() - 1)(azar)];
        Inyectar(falla, mundo, siembra, azar);
        const size_t fila = static_cast<size_t>(falla);
        ++tabla.iteraciones[fila];
        tabla.Sumar(fila, Revisar_Tras_Falla(mundo, invariantes, i, falla));
        Informar(fmt::format("falla {} de {}: {} ({} s)", i, opciones.fallas, kNombres_Falla[fila],
                             Segundos_Desde(inicio)),
                 invariantes);
    }
    ++tabla.iteraciones[kFila_Final];
    tabla.Sumar(kFila_Final, Revisar_Final(mundo, invariantes, siembra.Ids_Validas()));
    Informar(fmt::format("final: {} solicitudes válidas", siembra.Ids_Validas().size()),
             invariantes);

    tabla.Imprimir();
    fmt::print("semilla {}, {} fallas en {} s, {} violaciones\n", opciones.semilla, opciones.fallas,
               Segundos_Desde(inicio), tabla.Total());
    return tabla.Total() == 0 || opciones.solo_informar ? 0 : 1;
}

}  // namespace facturador::pruebas

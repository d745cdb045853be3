#include "Inyectores_Cluster.h"

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>

#include "apoyo/Bd_Central.h"
#include "apoyo/Proceso_Facturador.h"
#include "data/Turno_Central.h"

namespace facturador::pruebas {

using namespace std::chrono_literals;
using Reloj = std::chrono::steady_clock;

namespace {

const std::vector<int> kTodas = {1, 2, 3, 4};
// How long a fault that lasts (a cut, a frozen node) is held, in seconds.
constexpr int kSostener_Minimo = 5;
constexpr int kSostener_Maximo = 40;
constexpr auto kEspera_Maxima = 120s;

// The cluster refuses writes for a moment while it evicts a node or takes one back: the run's own
// writes are tried again meanwhile.
void Sembrar_Validas(Siembra_Fallas& siembra, int cantidad) {
    const auto fin = Reloj::now() + kEspera_Maxima;
    while (true) {
        try {
            return siembra.Validas(cantidad, kTodas);
        } catch (const std::exception&) {
            if (Reloj::now() > fin)
                throw;
            std::this_thread::sleep_for(500ms);
        }
    }
}

// The requests written right after a fault struck, read on a node the fault spared, and the
// moment the first of them was issued (status 2 or beyond).
class Reanudacion {
  public:
    Reanudacion(Siembra_Fallas& siembra, std::mt19937& azar) : inicio_(Reloj::now()) {
        const size_t antes = siembra.Ids_Validas().size();
        Sembrar_Validas(siembra, Entre(azar, 2, 5));
        for (size_t i = antes; i < siembra.Ids_Validas().size(); ++i)
            lista_ += (lista_.empty() ? "" : ",") + std::to_string(siembra.Ids_Validas()[i]);
    }

    // Watches for `segundos` while the fault lasts.
    void Vigilar(int segundos) {
        const auto fin = Reloj::now() + std::chrono::seconds(segundos);
        while (Reloj::now() < fin) {
            Mirar();
            std::this_thread::sleep_for(200ms);
        }
    }
    void Esperar_Emision() {
        while (!emitida_ && Reloj::now() - inicio_ < kEspera_Maxima) {
            Mirar();
            std::this_thread::sleep_for(200ms);
        }
    }
    std::optional<double> Segundos() const {
        if (!emitida_)
            return std::nullopt;
        return std::chrono::duration<double>(*emitida_ - inicio_).count();
    }

  private:
    void Mirar() {
        if (emitida_)
            return;
        try {
            if (Valor_Central("SELECT COUNT(*) FROM Solicitudes_de_Facturas_OL WHERE Status >= 2 "
                              "AND ID IN (" +
                              lista_ + ")") != "0")
                emitida_ = Reloj::now();
        } catch (const std::exception&) {
            // The node read from is joining again; the next look tells.
        }
    }

    Reloj::time_point inicio_;
    std::string lista_;
    std::optional<Reloj::time_point> emitida_;
};

// The copy that holds the lease, once one does (a fault may come before the last one's effects
// are over); any copy when none takes it within a lease's time.
size_t Copia_Trabajadora(Mundo_Fallas& mundo, std::mt19937& azar) {
    std::optional<size_t> copia;
    Esperar([&] { return (copia = mundo.Copia_Con_Turno()).has_value(); },
            std::chrono::seconds(kSegundos_Turno + 5));
    return copia.value_or(static_cast<size_t>(Entre(azar, 0, mundo.Nodos() - 1)));
}

// Writes requests and waits until the working copy starts queueing them, so that the fault
// strikes in the middle of a pass.
void Esperar_Pase(Mundo_Fallas& mundo, Siembra_Fallas& siembra, std::mt19937& azar) {
    const long antes = Iniciadas(mundo);
    Sembrar_Validas(siembra, Entre(azar, 15, 40));
    Esperar([&] { return Iniciadas(mundo) > antes; }, 5s);
    Dormir_Hasta(azar, 400);
}

int Sostener(std::mt19937& azar) {
    return Entre(azar, kSostener_Minimo, kSostener_Maximo);
}

void Senal_Nodo(const Mundo_Fallas& mundo, int nodo, int senal) {
    if (const pid_t pid = mundo.Pid_Nodo(nodo); pid > 0)
        kill(pid, senal);
}

}  // namespace

std::optional<double> Inyectar_en_Cluster(Falla falla, Mundo_Fallas& mundo, Siembra_Fallas& siembra,
                                          std::mt19937& azar) {
    const size_t copia = Copia_Trabajadora(mundo, azar);
    const int nodo = mundo.Nodo_De(copia);
    const int otro = nodo % mundo.Nodos() + 1;
    // Reads go to a node the fault spares: the next one, or the worker's own when the fault is
    // the next one's.
    mundo.Leer_Desde(falla == Falla::Reiniciar_Otro ? nodo : otro);
    Esperar_Pase(mundo, siembra, azar);
    std::optional<Reanudacion> tras;
    const auto golpe = [&](const auto& accion) {
        accion();
        tras.emplace(siembra, azar);
    };
    switch (falla) {
        case Falla::Matar_Copia:
            golpe([&] { mundo.Matar_Programa(copia); });
            tras->Esperar_Emision();
            mundo.Arrancar_Programa(copia);
            break;
        case Falla::Matar_Nodo:
        case Falla::Parar_Nodo:
            golpe([&] { mundo.Nodo(falla == Falla::Matar_Nodo ? "matar" : "parar", nodo); });
            tras->Esperar_Emision();
            mundo.Nodo("arrancar", nodo);
            break;
        case Falla::Matar_Ambos:
            golpe([&] {
                mundo.Matar_Programa(copia);
                mundo.Nodo("matar", nodo);
            });
            tras->Esperar_Emision();
            mundo.Nodo("arrancar", nodo);
            mundo.Arrancar_Programa(copia);
            break;
        case Falla::Aislar_Nodo:
            golpe([&] { mundo.Nodo("aislar", nodo); });
            tras->Vigilar(Sostener(azar));
            mundo.Nodo("reunir", nodo);
            break;
        case Falla::Detener_Nodo:
            golpe([&] { Senal_Nodo(mundo, nodo, SIGSTOP); });
            tras->Vigilar(Sostener(azar));
            Senal_Nodo(mundo, nodo, SIGCONT);
            mundo.Nodo("sanar", nodo);
            break;
        case Falla::Pausar_Copia:
            golpe([&] { mundo.Senal_Programa(SIGSTOP, copia); });
            tras->Vigilar(kSegundos_Turno + Entre(azar, 1, 10));
            mundo.Senal_Programa(SIGCONT, copia);
            break;
        case Falla::Reiniciar_Otro:
            golpe([&] { mundo.Nodo("parar", otro); });
            mundo.Nodo("arrancar", otro);
            break;
        default:
            return std::nullopt;
    }
    tras->Esperar_Emision();
    mundo.Leer_Del_Primero();
    return tras->Segundos();
}

}  // namespace facturador::pruebas

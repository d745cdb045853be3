// Throughput of the generation pass beside a single server and beside a three-node Galera
// cluster, in one run: 1,000 and then 5,000 pending requests over five branches, first against
// the single server, then against the cluster with the program connected to node 1, both durable
// (innodb_flush_log_at_trx_commit=1, the log flushed at every commit). On the cluster every unit's
// COMMIT also waits for its write set to be certified by the group. Reports requests per second on
// each and the cluster's share of the single server's.
//   bench_generacion_cluster SOCKET_SERVIDOR SOCKET_NODO_1
//   bench/correr.sh bench_generacion_cluster [BUILD_FOLDER]
// starts the private server and the cluster, runs it there and stops them.

#include <array>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "Banco.h"
#include "Medicion.h"
#include "Pase_Generacion.h"
#include "Siembra_Banco.h"
#include "data/Conexiones.h"
#include "platform/Credenciales_Central.h"
#include "platform/Pool_Central.h"

namespace facturador {
namespace {

constexpr std::array kCantidades{1000, 5000};
using Tasas = std::array<double, kCantidades.size()>;

// The program's connections, and the benchmark's own, go to the server of `socket` from now on.
void Apuntar_Servidor(const std::string& socket) {
    Credenciales_Vigentes().Socket = socket;
    Vaciar_Pool_Central();
}

// The setting and the group the server reports: what the figures were taken under.
void Mostrar_Servidor(const char* nombre) {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    const long long flush = Contar(conexion, "SELECT @@innodb_flush_log_at_trx_commit");
    const long long nodos = Contar(conexion,
                                   "SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS "
                                   "WHERE VARIABLE_NAME = 'WSREP_CLUSTER_SIZE'");
    Cerrar_Conexion(conexion);
    std::printf("== %s (innodb_flush_log_at_trx_commit=%lld, wsrep_cluster_size=%lld)\n", nombre,
                flush, nodos);
}

// A pass that left requests pending measured less than the work asked of it.
double Tasa_de_Pase(int primero, int cantidad) {
    const Pase_Generacion pase = Medir_Pase_Generacion(primero, cantidad);
    if (pase.En_Status_2 != cantidad)
        throw std::runtime_error("the pass left " + std::to_string(pase.En_Status_2) + " of " +
                                 std::to_string(cantidad) + " requests in status 2");
    std::printf("%d solicitudes: %.2f s, %.0f solicitudes/s, %.2f sentencias por solicitud\n",
                cantidad, pase.Gasto.Segundos, pase.Solicitudes_Por_Segundo(),
                pase.Gasto.Por_Unidad("Questions", cantidad));
    return pase.Solicitudes_Por_Segundo();
}

// Every size in turn on the same server, each over requests not yet seen.
Tasas Medir_Servidor(const std::string& carpeta, const std::string& socket, const char* nombre) {
    Apuntar_Servidor(socket);
    Poner_Durabilidad(1);
    Mostrar_Servidor(nombre);
    Preparar_Generacion(carpeta);
    Tasas tasas{};
    int primero = 1;
    for (size_t i = 0; i < kCantidades.size(); ++i) {
        tasas[i] = Tasa_de_Pase(primero, kCantidades[i]);
        primero += kCantidades[i];
    }
    return tasas;
}

void Mostrar_Proporcion(const Tasas& unico, const Tasas& cluster) {
    std::printf("== clúster / servidor único\n");
    for (size_t i = 0; i < kCantidades.size(); ++i)
        std::printf("%d solicitudes: %.0f contra %.0f solicitudes/s, %.2f\n", kCantidades[i],
                    cluster[i], unico[i], cluster[i] / unico[i]);
}

void Correr(const std::string& carpeta, const std::string& servidor, const std::string& nodo) {
    const Tasas unico = Medir_Servidor(carpeta, servidor, "servidor único durable");
    const Tasas cluster =
        Medir_Servidor(carpeta, nodo, "clúster Galera de tres nodos, el programa en el nodo 1");
    Mostrar_Proporcion(unico, cluster);
}

}  // namespace
}  // namespace facturador

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "uso: %s SOCKET_SERVIDOR SOCKET_NODO_1\n", argv[0]);
        return 2;
    }
    const std::string servidor = argv[1], nodo = argv[2];
    return facturador::Correr_Banco("bench_generacion_cluster", [&](const std::string& carpeta) {
        facturador::Correr(carpeta, servidor, nodo);
    });
}

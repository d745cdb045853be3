// Throughput of the generation pass: 1,000 and then 10,000 pending requests, each on a valid
// ticket, spread over five branches, turned into files to stamp, invoice rows, requests in
// status 2 and advanced folios; first with the server's durable default
// (innodb_flush_log_at_trx_commit=1, the log flushed at every commit, as in production), then
// with the relaxed setting of the tests (2). Reports requests per second, the statements the
// server receives and the physical connections it opens per request, and the process's peak
// memory.
//   bench/correr.sh bench_generacion [BUILD_FOLDER]
// starts a private server, runs it there and stops the server.

#include <cstdio>

#include "Banco.h"
#include "Medicion.h"
#include "Pase_Generacion.h"

namespace facturador {
namespace {

void Medir_Pase(int primero, int cantidad) {
    const Pase_Generacion pase = Medir_Pase_Generacion(primero, cantidad);
    const Medida& medida = pase.Gasto;
    const double n = cantidad;
    std::printf("%d solicitudes: %.2f s, %.0f solicitudes/s (meta: >= 200 a 10,000)\n", cantidad,
                medida.Segundos, pase.Solicitudes_Por_Segundo());
    std::printf("  en status 2 al terminar:       %lld de %d\n", pase.En_Status_2, cantidad);
    std::printf("  sentencias por solicitud:      %.2f (Questions)\n",
                medida.Por_Unidad("Questions", n));
    std::printf(
        "  conexiones físicas por solicitud: %.4f servidor, %.4f pool; aperturas por "
        "solicitud: %.2f\n",
        medida.Por_Unidad("Connections", n), medida.Conexiones_Fisicas_Pool / n,
        (medida.Reutilizaciones_Pool + medida.Conexiones_Fisicas_Pool) / n);
    std::printf("  memoria máxima del proceso:    %.1f MB (meta: < 64 MB)\n", Memoria_Maxima_MB());
}

// The same passes on the same starting data, under one durability setting of the server.
void Medir_Con_Durabilidad(const std::string& carpeta, int flush_log_at_trx_commit,
                           const char* nombre) {
    Poner_Durabilidad(flush_log_at_trx_commit);
    std::printf("== %s (innodb_flush_log_at_trx_commit=%d)\n", nombre, flush_log_at_trx_commit);
    Preparar_Generacion(carpeta);

    Medir_Pase(1, 1000);
    Medir_Pase(1001, 10000);
}

void Correr(const std::string& carpeta) {
    Medir_Con_Durabilidad(carpeta, 1, "durable, lo predeterminado del servidor");
    Medir_Con_Durabilidad(carpeta, 2, "relajada, la de las pruebas");
}

}  // namespace
}  // namespace facturador

int main() {
    return facturador::Correr_Banco("bench_generacion", facturador::Correr);
}

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
#include "Siembra_Banco.h"
#include "data/Conexiones.h"
#include "data/Sucursales.h"
#include "generation/Generacion.h"
#include "issuing_config/Datos_Emision.h"

namespace facturador {
namespace {

void Medir_Pase(int primero, int cantidad) {
    Conexion preparacion;
    Abrir_Conexion_Central(preparacion);
    Sembrar_Solicitudes(preparacion, primero, cantidad);
    Cerrar_Conexion(preparacion);

    const Medida medida = Medir([] {
        Conexion ciclo;
        Abrir_Conexion_Central(ciclo);
        Generar_Archivos_para_Timbrar(ciclo);
        Cerrar_Conexion(ciclo);
    });

    Abrir_Conexion_Central(preparacion);
    const long long en_status_2 =
        Contar(preparacion, "SELECT COUNT(*) FROM Solicitudes_de_Facturas_OL WHERE Status = 2");
    Cerrar_Conexion(preparacion);
    const double n = cantidad;
    std::printf("%d solicitudes: %.2f s, %.0f solicitudes/s (meta: >= 200 a 10,000)\n", cantidad,
                medida.Segundos, n / medida.Segundos);
    std::printf("  en status 2 al terminar:       %lld de %d\n", en_status_2 - (primero - 1),
                cantidad);
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
    Conexion preparacion;
    Abrir_Conexion_Central(preparacion);
    Vaciar_Tablas_Centrales(preparacion);
    Sembrar_Sucursales(preparacion, carpeta);
    Cerrar_Conexion(preparacion);
    Tomar_Turno_Banco();
    Cargar_Sucursales();
    Cargar_Datos_de_Emision();

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

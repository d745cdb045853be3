// Cost of an idle synchronization cycle (empty central tables): CPU time of this process,
// statements the server receives and physical connections it opens, per cycle.
//   bench/correr.sh bench_ciclo_inactivo [BUILD_FOLDER]
// starts a private server, runs it there and stops the server.

#include <cstdio>
#include <string>

#include "Banco.h"
#include "Medicion.h"
#include "app/Servicio.h"
#include "data/Conexiones.h"

namespace facturador {
namespace {

constexpr int kCiclos_Calentamiento = 5;
constexpr int kCiclos_Medidos = 100;

void Vaciar_Tablas_Centrales() {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    for (const char* tabla :
         {"Solicitudes_de_Facturas_OL", "Tickets", "Facturas_Electronicas", "Comprobantes_Fiscales",
          "Montos_Facturados", "Configuracion_Facturas_Electronicas", "Sucursales", "Configuracion",
          "Turno_Facturador"})
        conexion.Ejecutar(std::string("DELETE FROM ") + tabla);
    Cerrar_Conexion(conexion);
}

void Informar(const Medida& m) {
    const double n = kCiclos_Medidos;
    std::printf("Ciclos inactivos medidos: %d (tras %d de calentamiento)\n", kCiclos_Medidos,
                kCiclos_Calentamiento);
    std::printf("CPU del proceso por ciclo:   %.3f ms (meta: < 5 ms)\n", m.Segundos_CPU * 1000 / n);
    std::printf("Tiempo real por ciclo:       %.3f ms\n", m.Segundos * 1000 / n);
    std::printf("Sentencias por ciclo:        %.2f (Questions)\n", m.Por_Unidad("Questions", n));
    for (const auto& [nombre, valor] : m.Servidor)
        if (nombre.starts_with("Com_"))
            std::printf("  %-26s %.2f\n", nombre.c_str(), valor / n);
    std::printf("Conexiones físicas por ciclo: %.2f servidor (Connections), %.2f pool (meta: 0)\n",
                m.Por_Unidad("Connections", n), m.Conexiones_Fisicas_Pool / n);
    std::printf("Aperturas servidas por el pool por ciclo: %.2f\n", m.Reutilizaciones_Pool / n);
}

void Correr(const std::string&) {
    Vaciar_Tablas_Centrales();
    Vista_Sin_Ventanas vista;
    Ciclo_Sincronizacion ciclo(vista);
    for (int i = 0; i < kCiclos_Calentamiento; ++i)
        ciclo.tmrTimer_Timer();
    Informar(Medir([&] {
        for (int i = 0; i < kCiclos_Medidos; ++i)
            ciclo.tmrTimer_Timer();
    }));
}

}  // namespace
}  // namespace facturador

int main() {
    return facturador::Correr_Banco("bench_ciclo_inactivo", facturador::Correr);
}

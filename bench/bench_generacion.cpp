// Throughput of the generation pass: 1,000 and then 10,000 pending requests, each on a valid
// ticket, spread over five branches, turned into files to stamp, invoice rows, requests in
// status 2 and advanced folios. Reports requests per second, the statements the server receives
// and the physical connections it opens per request, and the process's peak memory.
//   bench/correr.sh bench_generacion [BUILD_FOLDER]
// starts a private server, runs it there and stops the server.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Banco.h"
#include "Medicion.h"
#include "data/Conexiones.h"
#include "data/Sucursales.h"
#include "generation/Generacion.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Valores_Campo.h"

namespace facturador {
namespace {

constexpr int kSucursales = 5;
constexpr int kFilas_Por_Insert = 1000;

void Ejecutar(Conexion& conexion, const std::string& sql) {
    conexion.Ejecutar(sql);
}

void Sembrar_Sucursales(Conexion& conexion, const std::string& carpeta) {
    namespace fs = std::filesystem;
    for (int s = 1; s <= kSucursales; ++s) {
        const std::string base = carpeta + "/sucursal" + std::to_string(s);
        fs::create_directories(base + "/cola");
        fs::create_directories(base + "/validas");
        const std::string id = std::to_string(s);
        Ejecutar(conexion,
                 "INSERT INTO Sucursales (ID, Nombre) VALUES (" + id + ", 'Sucursal " + id + "')");
        Ejecutar(conexion,
                 "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, "
                 "Razon_Social_Emisor, RFC_Emisor, CP_Domicilio_Expedicion, Serie_Facturas, "
                 "Folio_Inicial_Facturas, Regimen_Fiscal_Facturas, Ruta_Cola_Facturas, "
                 "Ruta_Facturas_Validas) VALUES (" +
                     id + ", 'ANTOJERIA LOS TULIPANES', 'ALT150312AB1', '06000', 'S" + id +
                     "', 1, '601', '" + Ruta_Para_BD(base + "/cola") + "', '" +
                     Ruta_Para_BD(base + "/validas") + "')");
    }
}

// Requests and their tickets, numbered from `primero`, in batches of one statement each.
void Sembrar_Solicitudes(Conexion& conexion, int primero, int cantidad) {
    for (int inicio = primero; inicio < primero + cantidad; inicio += kFilas_Por_Insert) {
        std::string tickets, solicitudes;
        const int fin = std::min(inicio + kFilas_Por_Insert, primero + cantidad);
        for (int i = inicio; i < fin; ++i) {
            const std::string n = std::to_string(i), s = std::to_string(i % kSucursales + 1);
            const std::string total = std::to_string(100 + i % 900) + ".50";
            tickets += (tickets.empty() ? "" : ",") + ("(" + n + ", " + s + ", " + total + ")");
            solicitudes += (solicitudes.empty() ? "" : ",") +
                           ("(" + n + ", 'CLIENTE " + n + "', " + s +
                            ", 'Calle Pedro Moreno', '44100', 'México', 'RALJ900215QW1', '612', " +
                            n + ", '01', " + total + ", '2026/12/04', 'G03', 1)");
        }
        Ejecutar(conexion, "INSERT INTO Tickets (Numero, ID_Sucursal, Total) VALUES " + tickets);
        Ejecutar(conexion,
                 "INSERT INTO Solicitudes_de_Facturas_OL (ID, Nombre, ID_Sucursal, Direccion, "
                 "Codigo_Postal, Pais, RFC, Regimen_Fiscal, Nro_Ticket, Metodo, Total, Fecha, Uso, "
                 "Status) VALUES " +
                     solicitudes);
    }
}

void Vaciar_Tablas_Centrales(Conexion& conexion) {
    for (const char* tabla :
         {"Solicitudes_de_Facturas_OL", "Tickets", "Facturas_Electronicas", "Comprobantes_Fiscales",
          "Montos_Facturados", "Configuracion_Facturas_Electronicas", "Sucursales"})
        Ejecutar(conexion, std::string("DELETE FROM ") + tabla);
}

long long Contar(Conexion& conexion, const std::string& sql) {
    Recordset rs = conexion.Ejecutar(sql);
    return rs.Fin() ? 0 : std::atoll(rs.Texto(size_t{0}).c_str());
}

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

void Correr(const std::string& carpeta) {
    Conexion preparacion;
    Abrir_Conexion_Central(preparacion);
    Vaciar_Tablas_Centrales(preparacion);
    Sembrar_Sucursales(preparacion, carpeta);
    Cerrar_Conexion(preparacion);
    Cargar_Sucursales();
    Cargar_Datos_de_Emision();

    Medir_Pase(1, 1000);
    Medir_Pase(1001, 10000);
}

}  // namespace
}  // namespace facturador

int main() {
    return facturador::Correr_Banco("bench_generacion", facturador::Correr);
}

// Cost of the result intake:
//  - a scan of 10,000 requests waiting in status 2 whose result has not arrived (the query and one
//    look for the XML, the PDF and the error file of each), per cycle;
//  - taking in 500 stamped results (what one scan takes in at the most) (XML and PDF of each stored
//  as documents, invoice updates and
//    amounts queued) and running the cycle's statement queue, in requests per second;
// and the process's peak memory.
//   bench/correr.sh bench_recepcion [BUILD_FOLDER]
// starts a private server, runs it there and stops the server.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "Banco.h"
#include "Medicion.h"
#include "data/Conexiones.h"
#include "data/Sentencias_Pendientes.h"
#include "data/Valores_Campo.h"
#include "intake/Recepcion.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Archivos.h"

namespace facturador {
namespace {

constexpr int kEn_Espera = 10000;
constexpr int kTimbradas = 500;
constexpr int kEscaneos = 20;
constexpr int kFilas_Por_Insert = 1000;
constexpr size_t kBytes_PDF = 60 * 1024;

double Milisegundos(const std::function<void()>& accion) {
    const auto inicio = std::chrono::steady_clock::now();
    accion();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio)
        .count();
}

void Ejecutar(const std::string& sql) {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    conexion.Ejecutar(sql);
    Cerrar_Conexion(conexion);
}

std::string Archivo(int id) {
    return "Factura A Folio " + std::to_string(id);
}

// Requests of branch 1 in status 2, numbered from `primero`, with their invoice rows.
void Sembrar_En_Espera(int primero, int cantidad) {
    for (int inicio = primero; inicio < primero + cantidad; inicio += kFilas_Por_Insert) {
        std::string solicitudes, facturas;
        for (int i = inicio; i < std::min(inicio + kFilas_Por_Insert, primero + cantidad); ++i) {
            const std::string n = std::to_string(i);
            solicitudes += (solicitudes.empty() ? "(" : ", (") + n + ", 1, 'A', " + n + ", " + n +
                           ", 116.5, '2026/12/04', 2, -" + n + ", '" + Archivo(i) +
                           "', 'C:*cola*', 'ICV060329BY0')";
            facturas += (facturas.empty() ? "(-" : ", (-") + n + ", 1)";
        }
        Ejecutar(
            "INSERT INTO Solicitudes_de_Facturas_OL (ID, ID_Sucursal, Serie, Folio, "
            "Nro_Ticket, Total, Fecha, Status, ID_Factura, Archivo, Ruta_Archivo, RFC) VALUES " +
            solicitudes);
        Ejecutar("INSERT INTO Facturas_Electronicas (ID_Factura, Status) VALUES " + facturas);
    }
}

void Preparar_Base(const std::string& validas, const std::string& no_validas) {
    for (const char* tabla :
         {"Solicitudes_de_Facturas_OL", "Facturas_Electronicas", "Comprobantes_Fiscales",
          "Montos_Facturados", "Configuracion_Facturas_Electronicas"})
        Ejecutar(std::string("DELETE FROM ") + tabla);
    Ejecutar(
        "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, Serie_Facturas, "
        "Ruta_Facturas_Validas, Ruta_Facturas_NO_Validas) VALUES (1, 'A', '" +
        Ruta_Para_BD(validas) + "', '" + Ruta_Para_BD(no_validas) + "')");
    Tomar_Turno_Banco();
    Cargar_Datos_de_Emision();
}

void Medir_Escaneo_En_Espera() {
    Sembrar_En_Espera(1, kEn_Espera);
    std::vector<double> escaneos, consultas, cpu;
    for (int i = 0; i < kEscaneos; ++i) {
        Reiniciar_Sentencias_Pendientes();
        const double cpu_antes = Segundos_CPU();
        escaneos.push_back(Milisegundos(Almacenar_Comprobantes_Pendientes));
        cpu.push_back((Segundos_CPU() - cpu_antes) * 1e3);
        consultas.push_back(Milisegundos([] {
            Conexion conexion;
            Abrir_Conexion_Central(conexion);
            conexion.Ejecutar(
                "SELECT ID_Factura, Archivo, Ruta_Archivo, ID, Serie, Folio, ID_Sucursal, "
                "Nro_Ticket, Total FROM Solicitudes_de_Facturas_OL WHERE (Status = 2) ORDER BY ID");
            Cerrar_Conexion(conexion);
        }));
    }
    if (!Sentencias_Pendientes().empty())
        throw std::runtime_error("a scan with no results queued statements");
    std::sort(escaneos.begin(), escaneos.end());
    std::sort(consultas.begin(), consultas.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("Escaneo de %d solicitudes en status 2 sin resultado (%d escaneos):\n", kEn_Espera,
                kEscaneos);
    std::printf("  mediana %.1f ms, mínimo %.1f ms, máximo %.1f ms por ciclo (meta: < 100 ms)\n",
                escaneos[kEscaneos / 2], escaneos.front(), escaneos.back());
    std::printf("  tiempo de CPU de este proceso: mediana %.1f ms por ciclo\n", cpu[kEscaneos / 2]);
    std::printf(
        "  de ello la consulta sola: mediana %.1f ms; búsqueda de archivos: %.1f us por "
        "solicitud\n",
        consultas[kEscaneos / 2],
        (escaneos[kEscaneos / 2] - consultas[kEscaneos / 2]) * 1000 / kEn_Espera);
    Ejecutar("UPDATE Solicitudes_de_Facturas_OL SET Status = 3");
}

void Medir_Recepcion(const std::string& validas) {
    const int primero = kEn_Espera + 1;
    Sembrar_En_Espera(primero, kTimbradas);
    // A real stamped sample made the invoice of each request: its series, folio and total.
    std::string xml =
        Leer_Archivo(std::string(RAIZ_FUENTES) +
                     "/tests/fixtures/cfdi/cfdi40-single-line-finkok-retenciones.xml");
    const auto cambiar = [&](const std::string& de, const std::string& a) {
        xml.replace(xml.find(de), de.size(), a);
    };
    cambiar(" Total=\"1191.95\"", " Total=\"116.50\"");
    cambiar("Serie=\"T\" Folio=\"1000\"", "Serie=\"A\" Folio=\"{}\"");
    std::string pdf(kBytes_PDF, '\0');
    for (size_t i = 0; i < pdf.size(); ++i)
        pdf[i] = static_cast<char>((i * 2654435761u) >> 13);
    for (int i = primero; i < primero + kTimbradas; ++i) {
        Escribir_Archivo(Unir_Ruta(validas, Archivo(i) + ".xml"),
                         fmt::format(fmt::runtime(xml), i));
        Escribir_Archivo(Unir_Ruta(validas, Archivo(i) + ".pdf"), pdf);
    }
    Reiniciar_Sentencias_Pendientes();
    const double escaneo = Milisegundos(Almacenar_Comprobantes_Pendientes);
    const size_t sentencias = Sentencias_Pendientes().size();
    const double cola = Milisegundos(Ejecutar_Sentencias_Pendientes);
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    const std::string completas =
        conexion
            .Ejecutar(
                "SELECT COUNT(*) FROM Solicitudes_de_Facturas_OL WHERE Status = 3 AND ID >= " +
                std::to_string(primero))
            .Texto(size_t{0});
    const std::string documentos =
        conexion.Ejecutar("SELECT COUNT(*) FROM Comprobantes_Fiscales").Texto(size_t{0});
    Cerrar_Conexion(conexion);
    std::printf("Recepción de %d resultados timbrados (XML %zu bytes, PDF %zu bytes):\n",
                kTimbradas, xml.size(), pdf.size());
    std::printf(
        "  escaneo %.0f ms + cola de %zu sentencias %.0f ms = %.0f solicitudes/s (meta: >= "
        "100)\n",
        escaneo, sentencias, cola, kTimbradas * 1000 / (escaneo + cola));
    std::printf("  en status 3: %s de %d; documentos guardados: %s\n", completas.c_str(),
                kTimbradas, documentos.c_str());
}

void Correr(const std::string& carpeta) {
    const std::string validas = Unir_Ruta(carpeta, "validas");
    const std::string no_validas = Unir_Ruta(carpeta, "no_validas");
    std::filesystem::create_directories(validas);
    std::filesystem::create_directories(no_validas);

    Preparar_Base(validas, no_validas);
    Medir_Escaneo_En_Espera();
    Medir_Recepcion(validas);
    std::printf("Memoria máxima del proceso: %.1f MB\n", Memoria_Maxima_MB());
}

}  // namespace
}  // namespace facturador

int main() {
    return facturador::Correr_Banco("bench_recepcion", facturador::Correr);
}

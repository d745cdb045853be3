// The built program turns pending requests into files to stamp, invoice rows and requests in
// status 2, on its own cycle timer, against the test server.

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "Proceso_Facturador.h"
#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"

namespace facturador::pruebas {
namespace {

using namespace std::chrono_literals;

// Polls until the request reaches the status, for as long as a few dozen cycles take.
bool Esperar_Status(int id, const std::string& status) {
    const auto limite = std::chrono::steady_clock::now() + 40s;
    const std::string consulta =
        "SELECT Status FROM Solicitudes_de_Facturas_OL WHERE ID = " + std::to_string(id);
    while (std::chrono::steady_clock::now() < limite) {
        if (Valor_Central(consulta) == status)
            return true;
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

TEST(Generacion_Extremo, LaSolicitudPendienteQuedaEnColaRegistradaYEnStatus2) {
    Vaciar_Base_Central();
    Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    const std::string cola = Unir_Ruta(entorno.Carpeta(), "cola");
    const std::string validas = Unir_Ruta(entorno.Carpeta(), "validas");
    std::filesystem::create_directories(cola);
    std::filesystem::create_directories(validas);
    const auto guardada = [](std::string ruta) {
        for (char& c : ruta)
            if (c == '/')
                c = '*';
        return "'" + Escapar_Central(ruta) + "'";
    };
    Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (1, 'Centro')");
    Ejecutar_Central(
        "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, RFC_Emisor, Serie_Facturas, "
        "Folio_Inicial_Facturas, Ruta_Cola_Facturas, Ruta_Facturas_Validas) VALUES (1, "
        "'ALT150312AB1', 'A', 1500, " +
        guardada(cola) + ", " + guardada(validas) + ")");
    Ejecutar_Central("INSERT INTO Tickets (Numero, ID_Sucursal, Total) VALUES (9001, 1, 232)");
    Ejecutar_Central(
        "INSERT INTO Solicitudes_de_Facturas_OL (ID, Nombre, ID_Sucursal, RFC, Nro_Ticket, Total, "
        "Status) VALUES (1, 'ANA TORRES', 1, 'TONA950620LM2', 9001, 232, 1), (2, 'ANA TORRES', 1, "
        "'TONA950620LM2', 9001, 10, 1)");

    Proceso_Facturador programa(entorno.Carpeta());
    ASSERT_TRUE(Esperar_Status(1, "2")) << "the request never reached status 2";
    ASSERT_TRUE(Esperar_Status(2, "4")) << "the request over the ticket was not rejected";
    programa.Enviar(SIGTERM);
    EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(20s)));

    const std::string archivo = Unir_Ruta(cola, "Factura A Folio 1500.txt");
    ASSERT_TRUE(Existe_Archivo(archivo));
    const std::string bytes = Leer_Archivo(archivo);
    EXPECT_NE(bytes.find("\r\nTotal=232.00\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nNombre=ANA TORRES\r\n"), std::string::npos);
    EXPECT_EQ(Valor_Central("SELECT CONCAT(Serie, '/', Folio, '/', ID_Factura, '/', Archivo) FROM "
                            "Solicitudes_de_Facturas_OL WHERE ID = 1"),
              "A/1500/-1/Factura A Folio 1500");
    EXPECT_EQ(Valor_Central("SELECT CONCAT(Status, '/', serie, '/', folio, '/', Consumo) FROM "
                            "Facturas_Electronicas WHERE ID_Factura = -1"),
              "1/A/1500/232");
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Facturas_Electronicas"), "1");
    EXPECT_EQ(Valor_Central("SELECT Folio_Inicial_Facturas FROM "
                            "Configuracion_Facturas_Electronicas WHERE ID_Sucursal = 1"),
              "1501");
    EXPECT_EQ(Valor_Central("SELECT Resultado FROM Solicitudes_de_Facturas_OL WHERE ID = 2"),
              "El Ticket Nro: 9001  (Sucursal: Centro) Ya fue Facturado Completamente.");
}

}  // namespace
}  // namespace facturador::pruebas

// The built program turns pending requests into files to stamp, invoice rows and requests in
// status 2, on its own cycle timer, against the test server.

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>

#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Siembra_Extremo.h"
#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {
namespace {

using namespace std::chrono_literals;

TEST(Generacion_Extremo, LaSolicitudPendienteQuedaEnColaRegistradaYEnStatus2) {
    Vaciar_Base_Central();
    Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    const std::string cola =
        Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "sucursal1"), 1, "Centro", "A", 1500).cola;
    Sembrar_Ticket(9001, 1, "232");
    Sembrar_Solicitud(1, 1, 9001, "232");
    Sembrar_Solicitud(2, 1, 9001, "10");

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

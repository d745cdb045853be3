// The whole road of a request, with the built program and the simulated stamping program running
// side by side against the test server: pending, queued, stamped and stored; or refused by the
// provider and rejected with its reason.

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "apoyo/Bd_Central.h"
#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Siembra.h"
#include "platform/Archivos.h"
#include "platform/Texto.h"

namespace facturador::pruebas {
namespace {

using namespace std::chrono_literals;

std::string Solicitud(int id, const std::string& columnas) {
    return Valor_Central("SELECT " + columnas +
                         " FROM Solicitudes_de_Facturas_OL WHERE ID = " + std::to_string(id));
}

TEST(Camino_Completo, La_Solicitud_Timbrada_Se_Almacena_Y_La_Rechazada_Lleva_El_Motivo) {
    Vaciar_Base_Central();
    Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    const auto carpetas = Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s3"), 3, "Centro", "A", 1);
    Sembrar_Ticket(4711, 3, "116");
    Sembrar_Ticket(4712, 3, "116");
    Sembrar_Solicitud(1);
    // A payment form named instead of given by its code: nothing on this side checks it, the
    // provider refuses it.
    Sembrar_Solicitud(2, {{"Nro_Ticket", "4712"}, {"Metodo", "'Efectivo'"}});
    Proceso_Facturador programa(entorno.Carpeta());
    ASSERT_TRUE(Esperar_Status(1, "2"));
    ASSERT_TRUE(Esperar_Status(2, "2"));

    // Its folders come from the branch profile, as the program reads them.
    const std::string salida = Unir_Ruta(entorno.Carpeta(), "timbrador.txt");
    Proceso_Hijo timbrador(EJECUTABLE_TIMBRADOR, {}, salida);
    ASSERT_TRUE(Esperar_Status(1, "3")) << Leer_Archivo(salida);
    ASSERT_TRUE(Esperar_Status(2, "4")) << Leer_Archivo(salida);
    EXPECT_TRUE(std::filesystem::is_empty(carpetas.cola));
    programa.Enviar(SIGTERM);
    timbrador.Enviar(SIGTERM);
    EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(20s)));
    EXPECT_TRUE(Termino_Con_Codigo_0(timbrador.Esperar_Fin(20s)));

    // The stamped request: both documents stored byte for byte, the invoice row filled from the
    // XML, the amount recorded.
    const std::string base = Unir_Ruta(carpetas.validas, "Factura A Folio 1");
    const std::string xml = Leer_Archivo(base + ".xml");
    const std::string factura = Solicitud(1, "ID_Factura");
    const auto guardado = [&](const char* tipo) {
        return Valor_Central("SELECT Documento FROM Comprobantes_Fiscales WHERE ID_Factura = " +
                             factura + " AND Descripcion = '" + tipo + "'");
    };
    EXPECT_EQ(guardado("XML"), xml);
    EXPECT_EQ(guardado("PDF"), Leer_Archivo(base + ".pdf"));
    const size_t uuid = xml.find(" UUID=\"") + 7;
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', Status, UUID, total, rfc_cliente, folio) FROM "
                            "Facturas_Electronicas WHERE ID_Factura = " +
                            factura),
              "2|" + xml.substr(uuid, 36) + "|116|RALJ900215QW1|1");
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', ID_Solicitud, Nro_Ticket, Total, Serie, Folio) "
                            "FROM Montos_Facturados"),
              "1|4711|116|A|1");

    // The refused request: the provider's first line as its reason.
    const std::string error =
        Leer_Archivo(Unir_Ruta(carpetas.no_validas, "Factura A Folio 2-error timbrado.txt"));
    EXPECT_EQ(Solicitud(2, "Resultado"),
              "Error: " + Desde_Windows_1252(error.substr(0, error.find('\r'))));
    EXPECT_TRUE(error.starts_with("CFDI40104 - El campo FormaPago")) << error;
}

}  // namespace
}  // namespace facturador::pruebas

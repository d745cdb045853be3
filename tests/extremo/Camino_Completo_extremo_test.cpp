// The whole road of a request, with the built program and the simulated stamping program running
// side by side against the test server: pending, queued, stamped and stored; or refused by the
// provider and rejected with its reason.

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Siembra_Extremo.h"
#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"
#include "platform/Texto.h"

namespace facturador::pruebas {
namespace {

using namespace std::chrono_literals;

constexpr auto kPlazo_Fin = 20s;

// The value of the first attribute `nombre` in an XML text, found without the program's reader.
std::string Atributo(const std::string& xml, const std::string& nombre) {
    const std::string buscado = " " + nombre + "=\"";
    const size_t inicio = xml.find(buscado);
    if (inicio == std::string::npos)
        return "";
    const size_t valor = inicio + buscado.size();
    return xml.substr(valor, xml.find('"', valor) - valor);
}

std::string Solicitud(int id, const std::string& columnas) {
    return Valor_Central("SELECT " + columnas +
                         " FROM Solicitudes_de_Facturas_OL WHERE ID = " + std::to_string(id));
}

// The stored document of an invoice ("XML" or "PDF"), byte for byte.
std::string Documento_Guardado(const std::string& id_factura, const std::string& tipo) {
    return Valor_Central("SELECT Documento FROM Comprobantes_Fiscales WHERE ID_Factura = " +
                         id_factura + " AND Descripcion = '" + tipo + "'");
}

bool Cola_Vacia(const std::string& cola) {
    return std::filesystem::is_empty(cola);
}

class Camino_Completo : public testing::Test {
  protected:
    void SetUp() override {
        Vaciar_Base_Central();
        entorno.Crear_Bases_Locales();
        carpetas =
            Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "sucursal1"), 1, "Centro", "A", 1500);
        Sembrar_Ticket(9001, 1, "232");
        Sembrar_Ticket(9002, 1, "116");
        Sembrar_Solicitud(1, 1, 9001, "232");
        // A payment form named instead of given by its code: nothing on this side checks it, the
        // provider refuses it.
        Sembrar_Solicitud(2, 1, 9002, "116", {{"Metodo", "'Efectivo'"}});
    }

    // What the simulated stamping program printed, to explain a failure.
    std::string Salida_Timbrador() const {
        return Existe_Archivo(salida_timbrador) ? Leer_Archivo(salida_timbrador) : "";
    }

    Entorno_Pruebas entorno;
    Carpetas_Sucursal carpetas;
    const std::string salida_timbrador = Unir_Ruta(entorno.Carpeta(), "timbrador.txt");
};

TEST_F(Camino_Completo, La_Solicitud_Timbrada_Se_Almacena_Y_La_Rechazada_Lleva_El_Motivo) {
    Proceso_Facturador programa(entorno.Carpeta());

    // Both requests are queued before the stamping program runs: the payment form passes
    // generation.
    ASSERT_TRUE(Esperar_Status(1, "2"));
    ASSERT_TRUE(Esperar_Status(2, "2"));
    const std::string base_valida = "Factura A Folio 1500";
    const std::string base_rechazada = "Factura A Folio 1501";
    const std::string archivo_rechazado = Unir_Ruta(carpetas.cola, base_rechazada + ".txt");
    ASSERT_TRUE(Existe_Archivo(Unir_Ruta(carpetas.cola, base_valida + ".txt")));
    ASSERT_TRUE(Existe_Archivo(archivo_rechazado));
    EXPECT_NE(Leer_Archivo(archivo_rechazado).find("\r\nFormaPago=Efectivo\r\n"),
              std::string::npos);

    // Its folders come from the branch profile, as the program reads them.
    Proceso_Hijo timbrador(EJECUTABLE_TIMBRADOR, {}, salida_timbrador);
    ASSERT_TRUE(Esperar_Status(1, "3")) << Salida_Timbrador();
    ASSERT_TRUE(Esperar_Status(2, "4")) << Salida_Timbrador();
    EXPECT_TRUE(Cola_Vacia(carpetas.cola));

    programa.Enviar(SIGTERM);
    timbrador.Enviar(SIGTERM);
    EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(kPlazo_Fin)));
    EXPECT_TRUE(Termino_Con_Codigo_0(timbrador.Esperar_Fin(kPlazo_Fin))) << Salida_Timbrador();

    // The stamped request: both documents stored byte for byte.
    const std::string xml = Leer_Archivo(Unir_Ruta(carpetas.validas, base_valida + ".xml"));
    const std::string pdf = Leer_Archivo(Unir_Ruta(carpetas.validas, base_valida + ".pdf"));
    const std::string id_factura = Solicitud(1, "ID_Factura");
    EXPECT_EQ(Solicitud(1, "CONCAT(Serie, '/', Folio, '/', Archivo)"), "A/1500/" + base_valida);
    EXPECT_EQ(Documento_Guardado(id_factura, "XML"), xml);
    EXPECT_EQ(Documento_Guardado(id_factura, "PDF"), pdf);
    EXPECT_EQ(Valor_Central("SELECT GROUP_CONCAT(CONCAT(Titulo, '|', Nombre_Archivo, '|', "
                            "Tamanio_Documento, '|', ID_Sucursal) ORDER BY Titulo SEPARATOR ' / ') "
                            "FROM Comprobantes_Fiscales"),
              "Documento PDF  A1500|" + base_valida + ".pdf|" + std::to_string(pdf.size()) +
                  "|1 / Documento XML  A1500|" + base_valida + ".xml|" +
                  std::to_string(xml.size()) + "|1");

    // The invoice row filled from the XML.
    const std::string uuid = Atributo(xml, "UUID");
    ASSERT_EQ(uuid.size(), 36u) << xml;
    EXPECT_EQ(Valor_Central("SELECT CONCAT(Status, '|', UUID, '|', total, '|', rfc_cliente, '|', "
                            "serie, '|', folio) FROM Facturas_Electronicas WHERE ID_Factura = " +
                            id_factura),
              "2|" + uuid + "|232|TONA950620LM2|A|1500");

    // The amount taken from the ticket.
    EXPECT_EQ(Valor_Central("SELECT GROUP_CONCAT(CONCAT(ID_Solicitud, '|', Nro_Ticket, '|', "
                            "ID_Sucursal, '|', Total, '|', Status, '|', Serie, '|', Folio)) FROM "
                            "Montos_Facturados"),
              "1|9001|1|232|0|A|1500");

    // The refused request: the provider's first line as its reason, its invoice never stamped.
    const std::string error =
        Leer_Archivo(Unir_Ruta(carpetas.no_validas, base_rechazada + "-error timbrado.txt"));
    const std::string primera_linea = Desde_Windows_1252(error.substr(0, error.find('\r')));
    EXPECT_EQ(primera_linea,
              "CFDI40104 - El campo FormaPago no contiene un valor del catálogo c_FormaPago");
    EXPECT_EQ(Solicitud(2, "Resultado"), "Error: " + primera_linea);
    EXPECT_EQ(Valor_Central("SELECT Status FROM Facturas_Electronicas WHERE ID_Factura = " +
                            Solicitud(2, "ID_Factura")),
              "1");
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Comprobantes_Fiscales WHERE ID_Factura = " +
                            Solicitud(2, "ID_Factura")),
              "0");
}

}  // namespace
}  // namespace facturador::pruebas

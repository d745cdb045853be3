#include "intake/Actualizacion_Factura.h"
#include "intake/Apoyo_Recepcion.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

class Comprobante_Timbrado : public testing::Test {
  protected:
    std::vector<std::string> Sentencias(const std::string& contenido) {
        Dejar(ruta, contenido);
        return Leer_Comprobante_Timbrado(ruta, -12);
    }

    // "column = value" of each statement, by column.
    std::map<std::string, std::string> Asignaciones(const std::string& contenido) {
        const std::string inicio = "UPDATE Facturas_Electronicas SET ";
        const std::string fin = " WHERE ID_Factura = -12";
        std::map<std::string, std::string> valores;
        for (const std::string& s : Sentencias(contenido)) {
            EXPECT_TRUE(s.starts_with(inicio) && s.ends_with(fin)) << s;
            const size_t igual = s.find(" = ");
            valores[s.substr(inicio.size(), igual - inicio.size())] =
                s.substr(igual + 3, s.size() - fin.size() - igual - 3);
        }
        return valores;
    }

    Carpeta_Temporal carpeta;
    const std::string ruta = Unir_Ruta(carpeta.Ruta(), "timbrado.xml");
};

// A stamped CFDI of a few elements, the prefix "cfdi" declared as the real ones do.
std::string Cfdi(const std::string& raiz_atributos, const std::string& cuerpo = "",
                 const std::string& declaracion = "") {
    return declaracion +
           "<cfdi:Comprobante xmlns:cfdi=\"http://www.sat.gob.mx/cfd/4\" "
           "xmlns:tfd=\"http://www.sat.gob.mx/TimbreFiscalDigital\" " +
           raiz_atributos + ">" + cuerpo + "</cfdi:Comprobante>";
}

// An empty value gives 0 in a number column, '01' as the payment form, '' in a text column.
// Anything but a number in a number column counts as empty: the statement would fail, and with it
// the whole queue of every cycle. Texts are escaped; a file in Windows-1252 is read as such.
TEST_F(Comprobante_Timbrado, ValuesOfRealSamplesEmptyValueRulesAndSafeValues) {
    auto v = Asignaciones(Muestra_Cfdi(kCfdi_Una_Linea));
    EXPECT_EQ(v["noCertificado"] + v["total"] + v["folio"], "'30001000000500003416'1191.951000");
    EXPECT_EQ(v["codigoPostal_cliente"], "'G03'");
    EXPECT_EQ(v["UUID"] + v["Status"], "'1E5A6E1B-9C1B-5319-BFED-123BD143A310'2");
    v = Asignaciones(Muestra_Cfdi(kCfdi_CRLF));  // no series or folio: none written over
    EXPECT_FALSE(v.contains("folio") || v.contains("serie"));
    EXPECT_EQ(v["descripcion"], "'Servicios de consultoría de sistemas de información'");
    v = Asignaciones(Muestra_Cfdi(kCfdi33_Pago));  // 3.3 payment: no FormaPago, unit nor taxes
    EXPECT_EQ(v["formaDePago"], "'01'");
    EXPECT_EQ(v["unidad"] + v["totalImpuestosTrasladados"] + v["tasa_traslado"], "''''''");
    // The first concept's tax, the invoice's own total of taxes.
    v = Asignaciones(Muestra_Cfdi(kCfdi_LF));
    EXPECT_EQ(v["importe_traslado"] + v["totalImpuestosTrasladados"], "'1.379310''137.93'");

    v = Asignaciones(Cfdi("Moneda=\"MXN\"", "<cfdi:Emisor Rfc=\"EKU9003173C9\"/>"));
    EXPECT_EQ(v["total"] + v["subTotal"] + v["formaDePago"] + v["UUID"], "00'01'");
    EXPECT_EQ(v["rfc_cliente"] + v["nombre_cliente"] + v["codigoPostal_cliente"], "''''''");
    v = Asignaciones(Cfdi("TotalImpuestos=\"16\" Folio=\"1); DELETE FROM Tickets; --\"",
                          "<cfdi:Receptor Nombre=\"O'BRIEN\\ Y MU\xD1OZ &amp; CIA\"/>",
                          "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"));
    EXPECT_EQ(v["total"] + v["folio"], "0");
    EXPECT_EQ(v["nombre_cliente"], "'O\\'BRIEN\\\\ Y MUÑOZ & CIA'");
    // A number its column cannot hold counts as empty too: beyond 32 bits, beyond a double.
    v = Asignaciones(Cfdi("Folio=\"99999999999\" Total=\"1e400\" SubTotal=\"-1e308\""));
    EXPECT_EQ(v["folio"] + v["total"] + v["subTotal"], "0-1e308");
}

// Each value comes from its own element, as the XML reader reads the document: nothing from a
// comment, a text, another element or an attribute whose name merely begins like it; entities
// decoded. A document that is not well-formed gives no statement at all.
TEST_F(Comprobante_Timbrado, EachValueComesFromItsOwnElementAndNothingElse) {
    const struct {
        std::string xml;
        const char *columna, *valor;
    } casos[] = {
        {Cfdi("", "<!-- <cfdi:Emisor Rfc=\"FALSO\"/> --><cfdi:Emisor Rfc=\"EKU9003173C9\"/>"),
         "rfc_emisor", "'EKU9003173C9'"},
        {Cfdi("", "<cfdi:Emisor/><cfdi:Receptor Nombre=\"CLIENTE\"/>"), "nombre_emisor", "''"},
        {Cfdi("TotalImpuestosTrasladados=\"16\""), "total", "0"},
        {Cfdi("SubTotal=\"100\"",
              "<pago20:Pagos xmlns:pago20=\"p\"><pago20:Pago Total=\"16\"/>"
              "</pago20:Pagos>"),
         "total", "0"},
        {Cfdi("", "<cfdi:Addenda><x>Rfc=\"FALSO\" UUID=\"FALSO\"</x></cfdi:Addenda>"), "UUID", ""},
        {Cfdi("",
              "<cfdi:Conceptos><cfdi:Concepto Importe=\"1\"><cfdi:Impuestos/></cfdi:Concepto>"
              "<cfdi:Concepto Importe=\"2\"/></cfdi:Conceptos><cfdi:Impuestos "
              "TotalImpuestosTrasladados=\"0.32\"/>"),
         "importe", "'1'"},
        {Cfdi("",
              "<cfdi:Conceptos><cfdi:Concepto><cfdi:Impuestos "
              "TotalImpuestosTrasladados=\"9\"/></cfdi:Concepto></cfdi:Conceptos>"),
         "totalImpuestosTrasladados", "''"},
        {Cfdi("Sello=\"A&amp;B&#x3D;\""), "sello", "'A&B='"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Asignaciones(c.xml)[c.columna], c.valor) << c.xml;

    EXPECT_THROW(Sentencias("<cfdi:Comprobante Total=\"1\">"), Error_Plataforma);
}

// Every real sample, CFDI 3.3 included, with the series and folio a result always carries, gives
// the 33 statements in their order, and they complete its invoice row on the server.
TEST_F(Comprobante_Timbrado, EverySampleLandsInTheInvoiceRow) {
    Vaciar_Base_Central();
    for (const auto& entrada :
         std::filesystem::directory_iterator(std::string(RAIZ_FUENTES) + "/tests/fixtures/cfdi")) {
        if (entrada.path().extension() != ".xml")
            continue;
        SCOPED_TRACE(entrada.path().filename().string());
        Ejecutar_Central("DELETE FROM Facturas_Electronicas");
        Ejecutar_Central("INSERT INTO Facturas_Electronicas (ID_Factura) VALUES (-12)");
        const std::string xml = Con_Atributo(
            Con_Atributo(Leer_Archivo(entrada.path()), "cfdi:Comprobante", "Serie", "A"),
            "cfdi:Comprobante", "Folio", "7");
        std::string columnas;
        for (const std::string& sentencia : Sentencias(xml)) {
            columnas += sentencia.substr(33, sentencia.find(" = ") - 33) + " ";
            Ejecutar_Central(sentencia);
        }
        EXPECT_EQ(columnas,
                  "noCertificado LugarExpedicion tipoDeComprobante total subTotal formaDePago "
                  "folio serie version fecha certificado sello rfc_emisor nombre_emisor Regimen "
                  "rfc_cliente nombre_cliente codigoPostal_cliente importe valorUnitario "
                  "descripcion unidad cantidad totalImpuestosTrasladados importe_traslado "
                  "tasa_traslado impuesto_traslado selloSAT noCertificadoSAT selloCFD "
                  "FechaTimbrado UUID Status ");
        const Recordset rs = Consultar_Central(
            "SELECT Status, UUID, total, sello FROM Facturas_Electronicas WHERE ID_Factura = -12");
        EXPECT_EQ(rs.Texto("Status"), "2");
        EXPECT_TRUE(Contiene(xml, "UUID=\"" + rs.Texto("UUID") + "\""));
        EXPECT_TRUE(Contiene(xml, "Total=\"" + rs.Texto("total")));
        EXPECT_TRUE(Contiene(xml, "Sello=\"" + rs.Texto("sello") + "\""));
    }
}

// The stamp's UUID as the tax authority's schema of the stamp gives it, and nothing else.
TEST(Es_UUID, OnlyTheSchemasForm) {
    EXPECT_TRUE(Es_UUID("1E5A6E1B-9C1B-5319-BFED-123BD143A310"));
    EXPECT_TRUE(Es_UUID("c95e14ef-f8c7-4b4b-9f88-a27800a46a2d"));
    for (const char* uuid :
         {"", "1E5A6E1B-9C1B-5319-BFED-123BD143A31", "1E5A6E1B-9C1B-5319-BFED-123BD143A3100",
          "1E5A6E1B9C1B-5319-BFED-123BD143A3100", "1E5A6E1G-9C1B-5319-BFED-123BD143A310",
          " 1E5A6E1B-9C1B-5319-BFED-123BD143A31", "1E5A6E1B-9C1B-5319-BFED-123BD143A31'"})
        EXPECT_FALSE(Es_UUID(uuid)) << uuid;
}

}  // namespace
}  // namespace facturador::pruebas

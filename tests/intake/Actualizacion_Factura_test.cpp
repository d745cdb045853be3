#include "intake/Actualizacion_Factura.h"
#include "intake/Apoyo_Recepcion.h"
#include "intake/Lector_XML.h"
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
    // LF only, pretty-printed: one line; the first concept's tax, the global total.
    v = Asignaciones(Muestra_Cfdi(kCfdi_LF));
    EXPECT_EQ(v["importe_traslado"] + v["totalImpuestosTrasladados"], "'1.379310''137.93'");

    v = Asignaciones("<cfdi:Comprobante Moneda=\"MXN\"><cfdi:Emisor Rfc=\"EKU9003173C9\"/>");
    EXPECT_EQ(v["total"] + v["subTotal"] + v["formaDePago"] + v["UUID"], "00'01'");
    EXPECT_EQ(v["rfc_cliente"] + v["nombre_cliente"] + v["codigoPostal_cliente"], "''''''");
    // No total of its own: the first later attribute named so gives it.
    v = Asignaciones("<cfdi:Comprobante SubTotal=\"100\"><pago10:Pago Total=\"16.00\"/>");
    EXPECT_EQ(v["total"], "16.00");
    v = Asignaciones(
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
        "<cfdi:Comprobante TotalImpuestos=\"16\" Folio=\"1); DELETE FROM Tickets; --\">"
        "<cfdi:Receptor Nombre=\"O'BRIEN\\ Y MU\xD1OZ\"/>");
    EXPECT_EQ(v["total"] + v["folio"], "0");
    EXPECT_EQ(v["nombre_cliente"], "'O\\'BRIEN\\\\ Y MUÑOZ'");
    // A number its column cannot hold counts as empty too: beyond 32 bits, beyond a double.
    v = Asignaciones(
        "<cfdi:Comprobante Folio=\"99999999999\" Total=\"1e400\" SubTotal=\"-1e308\">");
    EXPECT_EQ(v["folio"] + v["total"] + v["subTotal"], "0-1e308");
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
        EXPECT_NE(xml.find("UUID=\"" + rs.Texto("UUID") + "\""), std::string::npos);
        EXPECT_NE(xml.find("Total=\"" + rs.Texto("total")), std::string::npos);
        EXPECT_NE(xml.find("Sello=\"" + rs.Texto("sello") + "\""), std::string::npos);
    }
}

TEST(Leer_Atributo_XML, ScansTheTextTheWayStampedInvoicesHaveAlwaysBeenReadBack) {
    const std::string raiz =
        "<CFDI:COMPROBANTE NoCertificado=\"300\" Certificado=\"MII\" SubTotal=\"100\" "
        "Total=\"116\"/>";
    const std::string anidado =
        "<cfdi:Comprobante TotalImpuestosTrasladados=\"16\" Total=\"116\">"
        "<cfdi:Emisor Rfc=\"EKU9003173C9\"/><cfdi:Receptor Nombre=\"INMOBILIARIA CVA\"/>"
        "<cfdi:Conceptos><cfdi:Concepto Importe=\"100\"/></cfdi:Conceptos>";
    std::string crlf, lf;
    for (const char* linea : {"<?xml version=\"1.0\"?>", "        <cfdi:Complemento>",
                              "  <t UUID=\"AB-12\"/>", "          <x SelloSAT=\"S\"/>"}) {
        crlf += linea + std::string("\r\n");
        lf += linea + std::string("\n");
    }
    std::string cr = crlf;
    std::erase(cr, '\n');
    const struct {
        std::string xml;
        const char *etiqueta, *atributo, *valor;
    } casos[] = {
        // Tag and name ignore case, but the name needs a blank before it.
        {raiz, "<cfdi:Comprobante", "noCertificado", "300"},
        {raiz, "<cfdi:Comprobante", "certificado", "MII"},
        {raiz, "<cfdi:Comprobante", "total", "116"},
        // A name matches as a prefix: the value starts where it would after "Total=\"".
        {anidado, "<cfdi:Comprobante", "total", "puestosTrasladados="},
        // The search runs past the element: the receiver's name stands in for the issuer's, and
        // <cfdi:Concepto first matches <cfdi:Conceptos.
        {anidado, "<cfdi:Emisor", "nombre", "INMOBILIARIA CVA"},
        {anidado, "<cfdi:Concepto", "importe", "100"},
        {anidado, "<cfdi:Complemento", "UUID", ""},
        // The value starts the name's length + 3 after the blank and ends at the next quote.
        {"<cfdi:Comprobante Total=\"\" Moneda=\"MXN\"", "<cfdi:Comprobante", "total", ""},
        {"<cfdi:Comprobante Total = \"116\"", "<cfdi:Comprobante", "total", " "},
        {"<cfdi:Comprobante Total=\"11\r\n Total=\"6\"", "<cfdi:Comprobante", "total", "6"},
        {"<cfdi:Comprobante Total", "<cfdi:Comprobante", "total", ""},
        // Only CR ends a line, and later lines are read from the tag's position on: with CR LF or
        // CR an attribute indented less than the tag is missed; LF only is one line.
        {crlf, "<cfdi:Complemento", "UUID", ""},
        {crlf, "<cfdi:Complemento", "selloSAT", "S"},
        {cr, "<cfdi:Complemento", "UUID", ""},
        {lf, "<cfdi:Complemento", "UUID", "AB-12"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Buscar_Atributo_XML(c.xml, c.etiqueta, c.atributo), c.valor)
            << c.xml << " / " << c.etiqueta << " / " << c.atributo;

    // The file is read whole; a missing one is an error.
    Carpeta_Temporal carpeta;
    const std::string ruta = Unir_Ruta(carpeta.Ruta(), "Factura A Folio 1.xml");
    EXPECT_THROW(Leer_Atributo_XML(ruta, "<cfdi:Comprobante", "total"), Error_Plataforma);
    Escribir_Archivo(ruta, Muestra_Cfdi(kCfdi_CRLF));
    EXPECT_EQ(Leer_Atributo_XML(ruta, "<cfdi:Complemento", "UUID"),
              "C95E14EF-F8C7-4B4B-9F88-A27800A46A2D");
}

}  // namespace
}  // namespace facturador::pruebas

#include <gtest/gtest.h>

#include "apoyo/Entorno_Pruebas.h"
#include "intake/Apoyo_Recepcion.h"
#include "intake/Lector_XML.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

constexpr const char* kComprobante = "<cfdi:Comprobante";

std::string Buscar(const std::string& xml, const char* etiqueta, const char* atributo) {
    return Buscar_Atributo_XML(xml, etiqueta, atributo);
}

TEST(Leer_Atributo_XML, TagAndAttributeIgnoreCaseButNeedABlankBeforeTheName) {
    const std::string xml =
        "<CFDI:COMPROBANTE NoCertificado=\"300\" Certificado=\"MII\" SubTotal=\"100\" "
        "Total=\"116\"/>";
    EXPECT_EQ(Buscar(xml, kComprobante, "noCertificado"), "300");
    // "certificado" and "total" do not match inside NoCertificado and SubTotal.
    EXPECT_EQ(Buscar(xml, kComprobante, "certificado"), "MII");
    EXPECT_EQ(Buscar(xml, kComprobante, "total"), "116");
}

TEST(Leer_Atributo_XML, NamesMatchAsPrefixesAndTheSearchRunsPastTheElement) {
    const std::string xml =
        "<cfdi:Comprobante TotalImpuestosTrasladados=\"16\" Total=\"116\">"
        "<cfdi:Emisor Rfc=\"EKU9003173C9\"/><cfdi:Receptor Nombre=\"INMOBILIARIA CVA\"/>"
        "<cfdi:Conceptos><cfdi:Concepto Importe=\"100\"/></cfdi:Conceptos>";
    // The value starts where it would after "Total=\"", inside the longer name.
    EXPECT_EQ(Buscar(xml, kComprobante, "total"), "puestosTrasladados=");
    // The issuer has no name of its own: the receiver's comes instead.
    EXPECT_EQ(Buscar(xml, "<cfdi:Emisor", "nombre"), "INMOBILIARIA CVA");
    // The tag first matches the enclosing <cfdi:Conceptos>, and the search runs on into the
    // first concept.
    EXPECT_EQ(Buscar(xml, "<cfdi:Concepto", "importe"), "100");
    EXPECT_EQ(Buscar(xml, "<cfdi:Emisor", "UsoCFDI"), "");
    EXPECT_EQ(Buscar(xml, "<cfdi:Complemento", "UUID"), "");
}

TEST(Leer_Atributo_XML, TheValueStartsThreeCharactersAfterTheNameAndEndsAtTheNextQuote) {
    EXPECT_EQ(Buscar("<cfdi:Comprobante Total=\"\" Moneda=\"MXN\"", kComprobante, "total"), "");
    // Blanks around '=' shift the start: the value read is the blank before the quote.
    EXPECT_EQ(Buscar("<cfdi:Comprobante Total = \"116\"", kComprobante, "total"), " ");
    // No closing quote on the line: the next line is looked at.
    EXPECT_EQ(Buscar("<cfdi:Comprobante Total=\"11\r\n Total=\"6\"", kComprobante, "total"), "6");
    EXPECT_EQ(Buscar("<cfdi:Comprobante Total", kComprobante, "total"), "");
}

// Lines end at CR only. Once the tag is found, every later line is examined from the tag's
// position on, so with CR LF an attribute indented less than the tag is missed, while a file with
// LF only is one line and finds it.
TEST(Leer_Atributo_XML, OnlyCarriageReturnsEndLinesAndTheTagPositionCarriesOver) {
    const std::string lineas[] = {"<?xml version=\"1.0\"?>", "        <cfdi:Complemento>",
                                  "  <t UUID=\"AB-12\"/>", "          <x SelloSAT=\"S\"/>"};
    std::string crlf, lf;
    for (const std::string& linea : lineas) {
        crlf += linea + "\r\n";
        lf += linea + "\n";
    }
    EXPECT_EQ(Buscar(crlf, "<cfdi:Complemento", "UUID"), "");
    EXPECT_EQ(Buscar(crlf, "<cfdi:Complemento", "selloSAT"), "S");
    EXPECT_EQ(Buscar(lf, "<cfdi:Complemento", "UUID"), "AB-12");
    // A bare CR ends a line as CR LF does.
    std::string cr = crlf;
    std::erase(cr, '\n');
    EXPECT_EQ(Buscar(cr, "<cfdi:Complemento", "UUID"), "");
    EXPECT_EQ(Buscar(cr, "<cfdi:Complemento", "selloSAT"), "S");
}

TEST(Leer_Atributo_XML, ValuesComeAsFoundInUtf8OrFromWindows1252) {
    EXPECT_EQ(
        Buscar("<cfdi:Receptor Nombre=\"JOS\xC3\x89 &amp; HIJOS \"", "<cfdi:Receptor", "nombre"),
        "JOS\xC3\x89 &amp; HIJOS ");
    EXPECT_EQ(Buscar("<cfdi:Receptor Nombre=\"JOS\xC9\"", "<cfdi:Receptor", "nombre"),
              "JOS\xC3\x89");
}

TEST(Leer_Atributo_XML, ReadsTheFileAndFailsWhenItIsMissing) {
    Carpeta_Temporal carpeta;
    const std::string ruta = Unir_Ruta(carpeta.Ruta(), "Factura A Folio 1.xml");
    EXPECT_THROW(Leer_Atributo_XML(ruta, kComprobante, "total"), Error_Plataforma);
    Escribir_Archivo(ruta, Muestra_Cfdi(kCfdi_CRLF));
    EXPECT_EQ(Leer_Atributo_XML(ruta, "<cfdi:Complemento", "UUID"),
              "C95E14EF-F8C7-4B4B-9F88-A27800A46A2D");
}

}  // namespace
}  // namespace facturador::pruebas

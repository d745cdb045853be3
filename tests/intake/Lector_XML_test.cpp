#include <gtest/gtest.h>

#include "apoyo/Entorno_Pruebas.h"
#include "intake/Apoyo_Recepcion.h"
#include "intake/Lector_XML.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

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

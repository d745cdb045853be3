// What the stand-in writes: the stamped XML as the facturador reads it back, the PDF, the stamp,
// and the reasons for refusing a file.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "Archivo_Prueba.h"
#include "Comprobante_XML.h"
#include "Documento_PDF.h"
#include "Factura_PDF.h"
#include "Validacion.h"
#include "intake/Lector_XML.h"

namespace timbrador::pruebas {
namespace {

Timbre Timbre_Fijo() {
    return {"5D0C7B1E-2A4F-4C3B-9E8D-7F6A5B4C3D2E",
            "2026-12-05T16:15:52",
            "SIM010101AA1",
            "00001000000123456789",
            "MIIGQcert",
            "selloEmisor+/==",
            "00001000000987654321",
            "selloSat+/=="};
}

TEST(Comprobante_XML, CadaValorQueLeeElFacturadorEstaDondeLoBuscaEscapadoYConLineasCrLf) {
    const std::string xml = Comprobante_XML(
        Archivo_para_Timbrar::Leer(Texto_para_Timbrar("Nombre=Tulipanes Comercial SA de CV",
                                                      "Nombre=Café & Té \"La Ñ\" <Centro>")),
        Timbre_Fijo());
    EXPECT_EQ(std::count(xml.begin(), xml.end(), '\n'), std::count(xml.begin(), xml.end(), '\r'));
    EXPECT_EQ(xml.find("\r\r"), std::string::npos);
    const char* const casos[][3] = {
        {"<cfdi:Comprobante", "noCertificado", "00001000000123456789"},
        {"<cfdi:Comprobante", "LugarExpedicion", "06000"},
        {"<cfdi:Comprobante", "tipoDeComprobante", "I"},
        {"<cfdi:Comprobante", "total", "116.00"},
        {"<cfdi:Comprobante", "subTotal", "100.00"},
        {"<cfdi:Comprobante", "FormaPago", "01"},
        {"<cfdi:Comprobante", "folio", "1501"},
        {"<cfdi:Comprobante", "serie", "A"},
        {"<cfdi:Comprobante", "version", "4.0"},
        {"<cfdi:Comprobante", "fecha", "2026-12-05T10:15:40"},
        {"<cfdi:Comprobante", "certificado", "MIIGQcert"},
        {"<cfdi:Comprobante", "sello", "selloEmisor+/=="},
        {"<cfdi:Emisor", "rfc", "TCO010101AB1"},
        {"<cfdi:Emisor", "nombre", "Café &amp; Té &quot;La Ñ&quot; &lt;Centro&gt;"},
        {"<cfdi:Emisor", "RegimenFiscal", "601"},
        {"<cfdi:Receptor", "rfc", "PEÑJ800101AB1"},
        {"<cfdi:Receptor", "nombre", "Juan Peña Güemes"},
        {"<cfdi:Receptor", "UsoCFDI", "G03"},
        {"<cfdi:Concepto", "importe", "100.00"},
        {"<cfdi:Concepto", "valorUnitario", "100.00"},
        {"<cfdi:Concepto", "descripcion", "CONSUMO Nro. TICKET 4417"},
        {"<cfdi:Concepto", "unidad", "No Aplica"},
        {"<cfdi:Concepto", "cantidad", "1"},
        {"<cfdi:Impuestos", "totalImpuestosTrasladados", "16.00"},
        {"<cfdi:Impuestos", "importe", "16.00"},
        {"<cfdi:Impuestos", "TasaOCuota", "0.160000"},
        {"<cfdi:Impuestos", "impuesto", "002"},
        {"<cfdi:Complemento", "selloSAT", "selloSat+/=="},
        {"<cfdi:Complemento", "noCertificadoSAT", "00001000000987654321"},
        {"<cfdi:Complemento", "selloCFD", "selloEmisor+/=="},
        {"<cfdi:Complemento", "FechaTimbrado", "2026-12-05T16:15:52"},
        {"<cfdi:Complemento", "UUID", "5D0C7B1E-2A4F-4C3B-9E8D-7F6A5B4C3D2E"},
    };
    for (const auto& [etiqueta, atributo, esperado] : casos)
        EXPECT_EQ(facturador::Buscar_Atributo_XML(xml, etiqueta, atributo), esperado)
            << etiqueta << " " << atributo;
}

TEST(Factura_PDF, EsUnPdfCuyaTablaXrefApuntaASusObjetosYQueEscapaSuTexto) {
    const std::string pdf =
        Factura_PDF(Archivo_para_Timbrar::Leer(Texto_para_Timbrar()), Timbre_Fijo());
    ASSERT_TRUE(pdf.ends_with("%%EOF\n"));
    const size_t xref = pdf.rfind("\nxref\n") + 1;
    EXPECT_EQ(std::stoul(pdf.substr(pdf.rfind("startxref\n") + 10)), xref);
    const std::regex entrada("(\\d{10}) 00000 n\r\n");
    int objeto = 0;
    for (std::sregex_iterator i(pdf.begin() + xref, pdf.end(), entrada), fin; i != fin; ++i) {
        const std::string esperado = std::to_string(++objeto) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(std::stoul((*i)[1].str()), esperado.size(), esperado), 0) << objeto;
    }
    EXPECT_EQ(objeto, 6);
    EXPECT_NE(pdf.find("(Juan Pe\xF1"
                       "a G\xFC"
                       "emes)"),
              std::string::npos);  // WinAnsi text

    const std::string otro = Documento_PDF({{"Unidad (E48) \\ x"}});
    EXPECT_NE(otro.find("(Unidad \\(E48\\) \\\\ x)"), std::string::npos);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(otro, m, std::regex("/Length (\\d+) >>\nstream\n")));
    EXPECT_EQ(otro.compare(m.position(0) + m.length(0) + std::stoul(m[1].str()), 9, "endstream"),
              0);
}

TEST(Timbre, UuidV4EnMayusculasYSellosDistintosEnCadaTimbre) {
    const Timbre a = Nuevo_Timbre("2026-12-05T16:15:40");
    const Timbre b = Nuevo_Timbre("2026-12-05T16:15:40");
    EXPECT_TRUE(std::regex_match(
        a.uuid, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")));
    EXPECT_NE(a.uuid, b.uuid);
    EXPECT_NE(a.sello, b.sello);
}

TEST(Validacion, UnArchivoInvalidoSeRechazaConElCodigoDelProveedor) {
    const char* const casos[][3] = {
        // line of the file to stamp, replaced by, expected code ("" when it can be stamped)
        {"", "", ""},
        {"Rfc=PEÑJ800101AB1", "Rfc=A&B010101AB1", ""},
        {"Rfc=PEÑJ800101AB1", "Rfc=ÑAÑ010101AB1", ""},
        {"Rfc=PEÑJ800101AB1", "Rfc=XAXX010101000", ""},
        {"Rfc=PEÑJ800101AB1", "Rfc=XAXX0101", "CFDI40147"},
        {"Rfc=PEÑJ800101AB1", "Rfc=PEÑJ800101AB12", "CFDI40147"},
        {"Rfc=PEÑJ800101AB1", "Rfc=pejj800101ab1", "CFDI40147"},
        {"Rfc=PEÑJ800101AB1", "Rfc=PEJJ80O101AB1", "CFDI40147"},
        {"Rfc=TCO010101AB1", "Rfc=", "CFDI40131"},
        {"DomicilioFiscalReceptor=03100", "DomicilioFiscalReceptor=3100", "CFDI40149"},
        {"DomicilioFiscalReceptor=03100", "DomicilioFiscalReceptor=0310A", "CFDI40149"},
        {"LugarExpedicion=06000", "LugarExpedicion=", "CFDI40124"},
        {"Total=116.00", "Total=1,116.00", "CFDI40110"},
        {"Total=116.00", "Total=116.02", "CFDI40119"},
        {"UsoCFDI=G03", "UsoCFDI=", "CFDI40158"},
        {"Fecha=2026-12-05T10:15:40", "Fecha=2026-12-05", "CFDI40101"},
        {"[Receptor]", "[Cliente]", "301"},
    };
    for (const auto& [linea, por, codigo] : casos) {
        const auto motivo =
            Motivo_Rechazo(Archivo_para_Timbrar::Leer(Texto_para_Timbrar(linea, por)));
        if (*codigo == '\0')
            EXPECT_FALSE(motivo) << por << ": " << *motivo;
        else
            EXPECT_TRUE(motivo && motivo->starts_with(std::string(codigo) + " - "))
                << por << ": " << motivo.value_or("stamped");
    }
}

}  // namespace
}  // namespace timbrador::pruebas

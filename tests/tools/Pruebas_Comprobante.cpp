// What the stand-in writes: the stamped XML as the facturador reads it back, the PDF, the stamp,
// and the reasons for refusing a file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>

#include "Archivo_Prueba.h"
#include "Comprobante_XML.h"
#include "Documento_PDF.h"
#include "Factura_PDF.h"
#include "Validacion.h"

namespace timbrador::pruebas {
namespace {

std::string Mayusculas(std::string t) {
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return std::toupper(c); });
    return t;
}

// The facturador's reading of a stamped file: lines end at CR; once a line holds the tag, that
// line and the following ones are searched from the tag's column on for a blank and the
// attribute's name, without regard to case; the value runs from after `="` to the next quote.
std::string Leido_Por_El_Facturador(const std::string& xml, const std::string& etiqueta,
                                    const std::string& atributo) {
    size_t columna = std::string::npos;
    size_t inicio = 0;
    while (inicio < xml.size()) {
        size_t fin = xml.find('\r', inicio);
        if (fin == std::string::npos)
            fin = xml.size();
        const std::string linea = xml.substr(inicio, fin - inicio);
        inicio = fin + 1;
        if (inicio < xml.size() && xml[inicio] == '\n')
            ++inicio;
        if (columna == std::string::npos)
            columna = Mayusculas(linea).find(Mayusculas(etiqueta));
        if (columna == std::string::npos)
            continue;
        const std::string cortada = columna < linea.size() ? linea.substr(columna) : "";
        const size_t a = Mayusculas(cortada).find(" " + Mayusculas(atributo));
        if (a == std::string::npos)
            continue;
        const size_t desde = a + atributo.size() + 3;
        const size_t comilla = cortada.find('"', desde);
        if (comilla == std::string::npos)
            continue;
        return cortada.substr(desde, comilla - desde);
    }
    return "";
}

Timbre Timbre_Fijo() {
    Timbre t;
    t.uuid = "5D0C7B1E-2A4F-4C3B-9E8D-7F6A5B4C3D2E";
    t.fecha_timbrado = "2026-12-05T16:15:52";
    t.rfc_prov_certif = "SIM010101AA1";
    t.no_certificado = "00001000000123456789";
    t.certificado = "MIIGQcert";
    t.sello = "selloEmisor+/==";
    t.no_certificado_sat = "00001000000987654321";
    t.sello_sat = "selloSat+/==";
    return t;
}

std::string Xml_De(const Datos_Prueba& d) {
    return Comprobante_XML(Archivo_para_Timbrar::Leer(Texto_para_Timbrar(d)), Timbre_Fijo());
}

TEST(Comprobante_XML, CadaValorQueLeeElFacturadorEstaDondeLoBusca) {
    const std::string xml = Xml_De({});
    struct Caso {
        const char* etiqueta;
        const char* atributo;
        const char* esperado;
    };
    const Caso casos[] = {
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
        {"<cfdi:Emisor", "nombre", "Tulipanes Comercial SA de CV"},
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
    for (const Caso& c : casos)
        EXPECT_EQ(Leido_Por_El_Facturador(xml, c.etiqueta, c.atributo), c.esperado)
            << c.etiqueta << " " << c.atributo;
}

TEST(Comprobante_XML, LineasCrLfTextoUtf8YCaracteresEspecialesEscapados) {
    Datos_Prueba d;
    d.nombre_emisor = "Café & Té \"La Ñ\" <Centro>";
    const std::string xml = Xml_De(d);
    EXPECT_EQ(std::count(xml.begin(), xml.end(), '\n'), std::count(xml.begin(), xml.end(), '\r'));
    EXPECT_EQ(xml.find("\r\r"), std::string::npos);
    EXPECT_NE(
        xml.find("Nombre=\"Caf\xC3\xA9 &amp; T\xC3\xA9 &quot;La \xC3\x91&quot; &lt;Centro&gt;\""),
        std::string::npos);
    // A zero discount is left out, as stamped files do; series and folio stay.
    EXPECT_EQ(xml.find("Descuento="), std::string::npos);
}

TEST(Factura_PDF, EsUnPdfCuyaTablaXrefApuntaASusObjetos) {
    const std::string pdf =
        Factura_PDF(Archivo_para_Timbrar::Leer(Texto_para_Timbrar()), Timbre_Fijo());
    ASSERT_TRUE(pdf.starts_with("%PDF-1.4\n"));
    ASSERT_TRUE(pdf.ends_with("%%EOF\n"));
    const size_t xref = pdf.rfind("\nxref\n") + 1;
    const std::smatch::string_type cola = pdf.substr(pdf.rfind("startxref\n") + 10);
    EXPECT_EQ(std::stoul(cola), xref);
    const std::regex entrada("(\\d{10}) 00000 n\r\n");
    int objeto = 0;
    for (std::sregex_iterator i(pdf.begin() + xref, pdf.end(), entrada), fin; i != fin; ++i) {
        const std::string esperado = std::to_string(++objeto) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(std::stoul((*i)[1].str()), esperado.size(), esperado), 0) << objeto;
    }
    EXPECT_EQ(objeto, 6);
    EXPECT_NE(pdf.find("(Total: 116.00 MXN)"), std::string::npos);
    EXPECT_NE(pdf.find("5D0C7B1E-2A4F-4C3B-9E8D-7F6A5B4C3D2E"), std::string::npos);
    EXPECT_NE(pdf.find("(Juan Pe\xF1"
                       "a G\xFC"
                       "emes)"),
              std::string::npos);  // WinAnsi text
}

TEST(Documento_PDF, EscapaParentesisYLaLongitudDelFlujoEsExacta) {
    const std::string pdf = Documento_PDF({{"Unidad (E48) \\ x"}});
    EXPECT_NE(pdf.find("(Unidad \\(E48\\) \\\\ x)"), std::string::npos);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(pdf, m, std::regex("/Length (\\d+) >>\nstream\n")));
    const size_t inicio = m.position(0) + m.length(0);
    EXPECT_EQ(pdf.compare(inicio + std::stoul(m[1].str()), 9, "endstream"), 0);
}

TEST(Timbre, UuidV4EnMayusculasSellosYCertificadoDeTamanoReal) {
    const Timbre a = Nuevo_Timbre("2026-12-05T16:15:40");
    const Timbre b = Nuevo_Timbre("2026-12-05T16:15:40");
    EXPECT_TRUE(std::regex_match(
        a.uuid, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")));
    EXPECT_NE(a.uuid, b.uuid);
    EXPECT_NE(a.sello, a.sello_sat);
    const std::regex base64("[A-Za-z0-9+/]+={0,2}");
    for (const std::string* s : {&a.sello, &a.sello_sat, &a.certificado})
        EXPECT_TRUE(std::regex_match(*s, base64));
    EXPECT_EQ(a.sello.size(), 344u);
    EXPECT_EQ(a.certificado.size(), 2140u);
    EXPECT_TRUE(a.certificado.starts_with("MIIGQ"));
    EXPECT_TRUE(std::regex_match(a.no_certificado, std::regex("00001000000\\d{9}")));
    EXPECT_EQ(a.fecha_timbrado, "2026-12-05T16:15:40");
}

TEST(Timbre, Base64ConSuRelleno) {
    EXPECT_EQ(Base64(""), "");
    EXPECT_EQ(Base64("f"), "Zg==");
    EXPECT_EQ(Base64("fo"), "Zm8=");
    EXPECT_EQ(Base64("foo"), "Zm9v");
    EXPECT_EQ(Base64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(Base64("\xFF\xFE"), "//4=");
}

struct Caso_Rechazo {
    const char* nombre;
    void (*cambiar)(Datos_Prueba&);
    const char* codigo;  // "" when the file can be stamped
};

class Validacion : public ::testing::TestWithParam<Caso_Rechazo> {};

TEST_P(Validacion, MotivoDelProveedor) {
    Datos_Prueba d;
    GetParam().cambiar(d);
    const auto motivo = Motivo_Rechazo(Archivo_para_Timbrar::Leer(Texto_para_Timbrar(d)));
    if (*GetParam().codigo == '\0') {
        EXPECT_FALSE(motivo) << *motivo;
    } else {
        ASSERT_TRUE(motivo);
        EXPECT_TRUE(motivo->starts_with(std::string(GetParam().codigo) + " - ")) << *motivo;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Validacion,
    ::testing::Values(
        Caso_Rechazo{"Valido", [](Datos_Prueba&) {}, ""},
        Caso_Rechazo{"RfcMoralConAmpersand",
                     [](Datos_Prueba& d) { d.rfc_receptor = "A&B010101AB1"; }, ""},
        Caso_Rechazo{"RfcMoralConEnie", [](Datos_Prueba& d) { d.rfc_receptor = "ÑAÑ010101AB1"; },
                     ""},
        Caso_Rechazo{"RfcGenerico", [](Datos_Prueba& d) { d.rfc_receptor = "XAXX010101000"; }, ""},
        Caso_Rechazo{"RfcCorto", [](Datos_Prueba& d) { d.rfc_receptor = "XAXX0101"; }, "CFDI40147"},
        Caso_Rechazo{"RfcDe14", [](Datos_Prueba& d) { d.rfc_receptor = "PEÑJ800101AB12"; },
                     "CFDI40147"},
        Caso_Rechazo{"RfcMinusculas", [](Datos_Prueba& d) { d.rfc_receptor = "pejj800101ab1"; },
                     "CFDI40147"},
        Caso_Rechazo{"RfcFechaConLetra", [](Datos_Prueba& d) { d.rfc_receptor = "PEJJ80O101AB1"; },
                     "CFDI40147"},
        Caso_Rechazo{"RfcEmisorVacio", [](Datos_Prueba& d) { d.rfc_emisor = ""; }, "CFDI40131"},
        Caso_Rechazo{"CodigoPostalDe4", [](Datos_Prueba& d) { d.cp_receptor = "3100"; },
                     "CFDI40149"},
        Caso_Rechazo{"CodigoPostalConLetra", [](Datos_Prueba& d) { d.cp_receptor = "0310A"; },
                     "CFDI40149"},
        Caso_Rechazo{"LugarExpedicionVacio", [](Datos_Prueba& d) { d.lugar_expedicion = ""; },
                     "CFDI40124"},
        Caso_Rechazo{"TotalNoNumerico", [](Datos_Prueba& d) { d.total = "1,116.00"; }, "CFDI40110"},
        Caso_Rechazo{"TotalNoCuadra", [](Datos_Prueba& d) { d.total = "116.02"; }, "CFDI40119"},
        Caso_Rechazo{"UsoVacio", [](Datos_Prueba& d) { d.uso = ""; }, "CFDI40158"},
        Caso_Rechazo{"FechaSinHora", [](Datos_Prueba& d) { d.fecha = "2026-12-05"; }, "CFDI40101"}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(Estructura, SinSeccionDeReceptorNoSeTimbra) {
    std::string texto = Texto_para_Timbrar();
    texto.replace(texto.find("[Receptor]"), 10, "[Cliente]");
    const auto motivo = Motivo_Rechazo(Archivo_para_Timbrar::Leer(texto));
    ASSERT_TRUE(motivo);
    EXPECT_EQ(*motivo, "301 - Estructura inválida: falta la sección [Receptor]");
}

}  // namespace
}  // namespace timbrador::pruebas

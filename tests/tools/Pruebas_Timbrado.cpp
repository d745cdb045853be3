// One pass of the stamping stand-in over a branch's queue: what it leaves, and where.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "Archivo_Prueba.h"
#include "Timbrador.h"
#include "platform/Archivos.h"

namespace timbrador::pruebas {
namespace {

namespace fs = std::filesystem;
using facturador::Existe_Archivo;
using facturador::Leer_Archivo;
using facturador::Unir_Ruta;

constexpr const char* kNombre = "Factura A Folio 1501.txt";

class Pasada : public ::testing::Test {
  protected:
    Resumen_Pasada Atender(const Comportamiento& c = {}) {
        return Atender_Cola(s.carpetas, c, Ahora_Fijo(), bitacora);
    }
    std::string Valida(const std::string& nombre) const {
        return Unir_Ruta(s.carpetas.validas, nombre);
    }
    std::string Error_De(const std::string& base) const {
        return Unir_Ruta(s.carpetas.no_validas, base + "-error timbrado.txt");
    }
    static std::string Primera_Linea(const std::string& ruta) {
        const std::string texto = Leer_Archivo(ruta);
        return texto.substr(0, texto.find("\r\n"));
    }

    Sucursal_Prueba s;
    std::ostringstream bitacora;
};

TEST_F(Pasada, UnArchivoValidoDejaXmlYPdfConSuNombreYSaleDeLaCola) {
    s.Encolar(kNombre, Texto_para_Timbrar());
    const Resumen_Pasada r = Atender();

    EXPECT_EQ(r.timbrados, 1);
    EXPECT_EQ(r.fallas, 0);
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.cola), "");
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.validas),
              "Factura A Folio 1501.pdf|Factura A Folio 1501.xml");
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.no_validas), "");

    const std::string xml = Leer_Archivo(Valida("Factura A Folio 1501.xml"));
    EXPECT_TRUE(
        xml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<cfdi:Comprobante "));
    EXPECT_TRUE(xml.ends_with("</cfdi:Comprobante>\r\n"));
    EXPECT_NE(xml.find(" Total=\"116.00\""), std::string::npos);
    EXPECT_TRUE(std::regex_search(
        xml, std::regex(" UUID=\"[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-"
                        "[0-9A-F]{12}\"")));
    const std::string pdf = Leer_Archivo(Valida("Factura A Folio 1501.pdf"));
    EXPECT_TRUE(pdf.starts_with("%PDF-1.4\n"));
    EXPECT_TRUE(pdf.ends_with("%%EOF\n"));
}

TEST_F(Pasada, UnRfcInvalidoDejaElTextoDeErrorEnLaCarpetaNoValida) {
    Datos_Prueba d;
    d.rfc_receptor = "XAXX0101";
    s.Encolar(kNombre, Texto_para_Timbrar(d));
    const Resumen_Pasada r = Atender();

    EXPECT_EQ(r.rechazados, 1);
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.cola), "");
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.validas), "");
    // The intake reads the first line as 8-bit text: "válido" in Windows-1252.
    EXPECT_EQ(Primera_Linea(Error_De("Factura A Folio 1501")),
              "CFDI40147 - El RFC del receptor no es v\xE1lido");
}

TEST_F(Pasada, SoloXmlYSoloPdfDejanUnoDeLosDos) {
    s.Encolar(kNombre, Texto_para_Timbrar());
    Comportamiento c;
    c.entrega = Entrega::Solo_XML;
    Atender(c);
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.validas), "Factura A Folio 1501.xml");
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.cola), "");

    s.Encolar("Factura A Folio 1502.txt", Texto_para_Timbrar());
    c.entrega = Entrega::Solo_PDF;
    Atender(c);
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.validas),
              "Factura A Folio 1501.xml|Factura A Folio 1502.pdf");
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.no_validas), "");
}

TEST_F(Pasada, FallarRechazaHastaUnArchivoValidoConElMotivoDado) {
    s.Encolar(kNombre, Texto_para_Timbrar());
    Comportamiento c;
    c.falla = "307 - El comprobante contiene un timbre previo";
    const Resumen_Pasada r = Atender(c);
    EXPECT_EQ(r.rechazados, 1);
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.validas), "");
    EXPECT_EQ(Primera_Linea(Error_De("Factura A Folio 1501")),
              "307 - El comprobante contiene un timbre previo");
}

TEST_F(Pasada, UnArchivoDeMenosDeUnSegundoPuedeEstarCopiandoseYEspera) {
    const std::string ruta = s.Encolar(kNombre, Texto_para_Timbrar().substr(0, 200), 0);
    EXPECT_EQ(Atender().en_espera, 1);
    EXPECT_TRUE(Existe_Archivo(ruta));
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.no_validas), "");
}

TEST_F(Pasada, LaDemoraDejaEnLaColaLosArchivosRecientes) {
    const std::string reciente = s.Encolar("Factura A Folio 1.txt", Texto_para_Timbrar(), 29);
    s.Encolar("Factura A Folio 2.txt", Texto_para_Timbrar(), 30);
    Comportamiento c;
    c.demora = std::chrono::seconds(30);
    const Resumen_Pasada r = Atender(c);

    EXPECT_EQ(r.en_espera, 1);
    EXPECT_EQ(r.timbrados, 1);
    EXPECT_TRUE(Existe_Archivo(reciente));
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.validas),
              "Factura A Folio 2.pdf|Factura A Folio 2.xml");
}

TEST_F(Pasada, LaCancelacionSaleDeLaColaSinRespuestaYLoAjenoSeQueda) {
    s.Encolar("Cancelar_A1400.xml", "TCO010101AB1|C95E14EF-F8C7-4B4B-9F88-A27800A46A2D\r\n");
    s.Encolar("notas.doc", "x");
    s.Encolar(".Factura A Folio 9.txt.123.parcial", "x");
    const Resumen_Pasada r = Atender();

    EXPECT_EQ(r.cancelaciones, 1);
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.cola),
              ".Factura A Folio 9.txt.123.parcial|notas.doc");
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.validas), "");
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.no_validas), "");
    EXPECT_NE(bitacora.str().find("C95E14EF-F8C7-4B4B-9F88-A27800A46A2D"), std::string::npos);
}

TEST_F(Pasada, SinCarpetaDeValidasElArchivoVuelveIntactoALaCola) {
    const std::string bytes = Texto_para_Timbrar();
    const std::string ruta = s.Encolar(kNombre, bytes);
    fs::remove(s.carpetas.validas);
    const Resumen_Pasada r = Atender();

    EXPECT_EQ(r.fallas, 1);
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.cola), kNombre);
    EXPECT_EQ(Leer_Archivo(ruta), bytes);
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.no_validas), "");
}

TEST_F(Pasada, SiElPdfNoSePuedeEscribirNoQuedaElXmlSolo) {
    s.Encolar(kNombre, Texto_para_Timbrar());
    fs::create_directory(Valida("Factura A Folio 1501.pdf"));  // a folder in the PDF's place
    const Resumen_Pasada r = Atender();

    EXPECT_EQ(r.fallas, 1);
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.validas), "Factura A Folio 1501.pdf");
    EXPECT_EQ(Sucursal_Prueba::Listado(s.carpetas.cola), kNombre);
}

}  // namespace
}  // namespace timbrador::pruebas

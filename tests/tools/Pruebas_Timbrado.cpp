// One pass of the stamping stand-in over a branch's queue: what it leaves, and where.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "Archivo_Prueba.h"
#include "Timbrador.h"
#include "apoyo/Entorno_Pruebas.h"
#include "intake/Lector_XML.h"
#include "platform/Archivos.h"

namespace timbrador::pruebas {
namespace {

namespace fs = std::filesystem;
using facturador::Existe_Archivo;
using facturador::Leer_Archivo;
using facturador::Unir_Ruta;

constexpr const char* kNombre = "Factura A Folio 1501.txt";

// A temporary branch with its cola/, validas/ and no_validas/ folders, served at a fixed moment.
class Pasada : public ::testing::Test {
  protected:
    Pasada() {
        for (const std::string& c : {carpetas.cola, carpetas.validas, carpetas.no_validas})
            fs::create_directory(c);
    }
    // Writes the file into the queue, last written `antiguedad` seconds before the pass.
    std::string Encolar(const std::string& nombre, const std::string& bytes,
                        int antiguedad = 3600) const {
        const std::string ruta = Unir_Ruta(carpetas.cola, nombre);
        facturador::Escribir_Archivo(ruta, bytes);
        fs::last_write_time(
            ruta, std::chrono::file_clock::from_sys(ahora - std::chrono::seconds(antiguedad)));
        return ruta;
    }
    // Names of the files in a folder, hidden ones included, in order.
    static std::string Listado(const std::string& carpeta) {
        std::set<std::string> nombres;
        for (const fs::directory_entry& e : fs::directory_iterator(carpeta))
            nombres.insert(e.path().filename().string());
        std::string listado;
        for (const std::string& n : nombres)
            listado += (listado.empty() ? "" : "|") + n;
        return listado;
    }
    Resumen_Pasada Atender(const Comportamiento& c = {}) {
        return Atender_Cola(carpetas, c, ahora, bitacora);
    }
    std::string Valida(const std::string& nombre) const {
        return Unir_Ruta(carpetas.validas, nombre);
    }
    std::string Primera_Linea_Del_Error(const std::string& base) const {
        const std::string texto =
            Leer_Archivo(Unir_Ruta(carpetas.no_validas, base + "-error timbrado.txt"));
        return texto.substr(0, texto.find("\r\n"));
    }

    const Instante ahora = std::chrono::sys_days{std::chrono::year{2026} / 12 / 5} +
                           std::chrono::hours{16} + std::chrono::minutes{15};
    facturador::pruebas::Carpeta_Temporal temporal;
    const fs::path raiz{temporal.Ruta()};
    const Carpetas_Sucursal carpetas{"sucursal de prueba", (raiz / "cola").string(),
                                     (raiz / "validas").string(), (raiz / "no_validas").string()};
    std::ostringstream bitacora;
};

TEST_F(Pasada, UnArchivoValidoDejaXmlYPdfConSuNombreYSaleDeLaCola) {
    Encolar(kNombre, Texto_para_Timbrar());
    const Resumen_Pasada r = Atender();

    EXPECT_EQ(r.timbrados, 1);
    EXPECT_EQ(Listado(carpetas.cola), "");
    // Hidden files are listed too: no temporary file is left beside the finished ones.
    EXPECT_EQ(Listado(carpetas.validas), "Factura A Folio 1501.pdf|Factura A Folio 1501.xml");
    EXPECT_EQ(Listado(carpetas.no_validas), "");
    const std::string xml = Leer_Archivo(Valida("Factura A Folio 1501.xml"));
    EXPECT_TRUE(
        xml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<cfdi:Comprobante "));
    EXPECT_TRUE(xml.ends_with("</cfdi:Comprobante>\r\n"));
    EXPECT_EQ(facturador::Buscar_Atributo_XML(xml, "<cfdi:Comprobante", "Total"), "116.00");
    EXPECT_TRUE(Leer_Archivo(Valida("Factura A Folio 1501.pdf")).starts_with("%PDF-1.4\n"));
}

TEST_F(Pasada, UnRechazoYFallarDejanElMotivoEnLaPrimeraLineaDelTextoDeError) {
    Encolar(kNombre, Texto_para_Timbrar("Rfc=PEÑJ800101AB1", "Rfc=XAXX0101"));
    EXPECT_EQ(Atender().rechazados, 1);
    // The intake reads the first line as 8-bit text: "válido" in Windows-1252.
    EXPECT_EQ(Primera_Linea_Del_Error("Factura A Folio 1501"),
              "CFDI40147 - El RFC del receptor no es v\xE1lido");

    Encolar("Factura A Folio 1502.txt", Texto_para_Timbrar());
    Comportamiento c;
    c.falla = "307 - El comprobante contiene un timbre previo";
    EXPECT_EQ(Atender(c).rechazados, 1);
    EXPECT_EQ(Primera_Linea_Del_Error("Factura A Folio 1502"), *c.falla);
    EXPECT_EQ(Listado(carpetas.cola), "");
    EXPECT_EQ(Listado(carpetas.validas), "");
}

TEST_F(Pasada, SoloXmlYSoloPdfDejanUnoDeLosDos) {
    Encolar(kNombre, Texto_para_Timbrar());
    Comportamiento c;
    c.entrega = Entrega::Solo_XML;
    Atender(c);
    Encolar("Factura A Folio 1502.txt", Texto_para_Timbrar());
    c.entrega = Entrega::Solo_PDF;
    Atender(c);
    EXPECT_EQ(Listado(carpetas.validas), "Factura A Folio 1501.xml|Factura A Folio 1502.pdf");
    EXPECT_EQ(Listado(carpetas.cola), "");
}

TEST_F(Pasada, LaDemoraYUnArchivoDeMenosDeUnSegundoLoDejanEnLaCola) {
    const std::string copiandose = Encolar("Factura A Folio 1.txt", "[Comprobante]", 0);
    const std::string reciente = Encolar("Factura A Folio 2.txt", Texto_para_Timbrar(), 29);
    Encolar("Factura A Folio 3.txt", Texto_para_Timbrar(), 30);
    Comportamiento c;
    c.demora = std::chrono::seconds(30);
    const Resumen_Pasada r = Atender(c);
    EXPECT_EQ(r.en_espera, 2);
    EXPECT_EQ(r.timbrados, 1);
    EXPECT_TRUE(Existe_Archivo(copiandose));
    EXPECT_TRUE(Existe_Archivo(reciente));
    EXPECT_EQ(Atender().en_espera, 1) << "without a delay only the file being copied waits";
}

TEST_F(Pasada, LaCancelacionSaleDeLaColaSinRespuestaYLoAjenoSeQueda) {
    Encolar("Cancelar_A1400.xml", "TCO010101AB1|C95E14EF-F8C7-4B4B-9F88-A27800A46A2D\r\n");
    Encolar("notas.doc", "x");
    Encolar(".Factura A Folio 9.txt.123.parcial", "x");
    EXPECT_EQ(Atender().cancelaciones, 1);
    EXPECT_EQ(Listado(carpetas.cola), ".Factura A Folio 9.txt.123.parcial|notas.doc");
    EXPECT_EQ(Listado(carpetas.validas), "");
    EXPECT_NE(bitacora.str().find("C95E14EF-F8C7-4B4B-9F88-A27800A46A2D"), std::string::npos);
}

TEST_F(Pasada, SiNoSePuedeEntregarElArchivoVuelveIntactoALaColaYNoQuedaMedioResultado) {
    const std::string bytes = Texto_para_Timbrar();
    const std::string ruta = Encolar(kNombre, bytes);
    fs::create_directory(Valida("Factura A Folio 1501.pdf"));  // a folder in the PDF's place
    EXPECT_EQ(Atender().fallas, 1);
    EXPECT_EQ(Listado(carpetas.validas), "Factura A Folio 1501.pdf");
    EXPECT_EQ(Listado(carpetas.cola), kNombre);
    EXPECT_EQ(Leer_Archivo(ruta), bytes);

    fs::remove(Valida("Factura A Folio 1501.pdf"));
    fs::remove(carpetas.validas);
    Encolar(kNombre, bytes);  // back to an hour old
    EXPECT_EQ(Atender().fallas, 1);
    EXPECT_EQ(Listado(carpetas.cola), kNombre);
    EXPECT_EQ(Leer_Archivo(ruta), bytes);
    EXPECT_EQ(Listado(carpetas.no_validas), "");
}

// The record counts what was stamped or rejected, not what went back to the queue.
TEST_F(Pasada, ElRegistroLlevaUnaLineaPorArchivoTimbradoORechazado) {
    std::ostringstream registro;
    Encolar(kNombre, Texto_para_Timbrar());
    Encolar("Factura A Folio 1502.txt", Texto_para_Timbrar("Folio=1501", "Folio=1502"));
    fs::create_directory(Valida("Factura A Folio 1502.pdf"));  // its delivery fails
    Encolar("Factura A Folio 1503.txt", Texto_para_Timbrar("Rfc=PEÑJ800101AB1", "Rfc=X"));
    Atender_Cola(carpetas, {}, ahora, bitacora, &registro);

    const std::string texto = registro.str();
    const std::string uuid = texto.substr(texto.find("\t1501\t") + 6, 36);
    EXPECT_EQ(texto, "timbrada\tsucursal de prueba\tA\t1501\t" + uuid +
                         "\t77\nrechazada\tsucursal de prueba\tA\t1501\t\t77\n");
    EXPECT_TRUE(Existe_Archivo(Valida("Factura A Folio 1501.xml")));
}

}  // namespace
}  // namespace timbrador::pruebas

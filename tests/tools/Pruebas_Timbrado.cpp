// The stamping stand-in as the facturador's tests and the demo rely on it: one pass over a branch's
// queue, what it leaves where, and the provider's refusals; the end-to-end tests run its command.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>

#include "Timbrador.h"
#include "Validacion.h"
#include "apoyo/Entorno_Pruebas.h"
#include "generation/Archivo_Timbrar.h"
#include "intake/Actualizacion_Factura.h"
#include "intake/Verificacion_Resultado.h"
#include "platform/Archivos.h"
#include "platform/Texto.h"

namespace timbrador::pruebas {
namespace {

namespace fs = std::filesystem;
using facturador::Existe_Archivo;
using facturador::Leer_Archivo;
using facturador::Unir_Ruta;

constexpr const char* kNombre = "Factura A Folio 1501.txt";

// A file to stamp as the facturador writes it (Windows-1252): invoice A 1501 for 116.00 from
// issuer TCO010101AB1 to receiver PEÑJ800101AB1, with `linea` replaced by `por` when given.
std::string Texto_para_Timbrar(const std::string& linea = "", const std::string& por = "") {
    facturador::Solicitud_Factura receptor;
    receptor.RFC = "PEÑJ800101AB1";
    receptor.Nombre = "Juan Peña Güemes";
    receptor.Codigo_Postal = "03100";
    receptor.Regimen_Fiscal = "612";
    receptor.Uso = "G03";
    receptor.Metodo = "03";
    receptor.Total = 116;
    receptor.Nro_Ticket = 4417;
    facturador::Datos_Emision emisor;
    emisor.RFC_Emisor = "TCO010101AB1";
    emisor.Razon_Social_Emisor = "Café & Té \"La Ñ\" <Centro>";
    emisor.Regimen_Fiscal_Facturas = "601";
    emisor.CP_Domicilio_Expedicion = "06000";
    std::string texto =
        facturador::Texto_para_Timbrar(receptor, emisor, "A", 1501, "2026-12-05T10:15:40");
    if (!linea.empty()) {
        const size_t donde = texto.find("\r\n" + linea + "\r\n");
        EXPECT_NE(donde, std::string::npos) << linea;
        texto.replace(donde + 2, linea.size(), por);
    }
    return facturador::A_Windows_1252(texto);
}

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
    // Names of the files in a folder, hidden ones included, in order, "|"-separated.
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

    const Instante ahora = std::chrono::sys_days{std::chrono::year{2026} / 12 / 5} +
                           std::chrono::hours{16} + std::chrono::minutes{15};
    facturador::pruebas::Carpeta_Temporal temporal;
    const fs::path raiz{temporal.Ruta()};
    const Carpetas_Sucursal carpetas{"sucursal de prueba", (raiz / "cola").string(),
                                     (raiz / "validas").string(), (raiz / "no_validas").string()};
    std::ostringstream bitacora;
};

// The stamped XML has CR LF lines and gives the facturador's reader every value of the invoice
// row, texts escaped; the file leaves the queue and no temporary file stays.
TEST_F(Pasada, AValidFileLeavesXmlAndPdfWhoseEveryValueTheFacturadorFinds) {
    Encolar(kNombre, Texto_para_Timbrar());
    EXPECT_EQ(Atender().timbrados, 1);
    EXPECT_EQ(Listado(carpetas.cola) + "/" + Listado(carpetas.no_validas), "/");
    EXPECT_EQ(Listado(carpetas.validas), "Factura A Folio 1501.pdf|Factura A Folio 1501.xml");

    const std::string ruta_xml = Unir_Ruta(carpetas.validas, "Factura A Folio 1501.xml");
    const std::string xml = Leer_Archivo(ruta_xml);
    EXPECT_TRUE(
        xml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<cfdi:Comprobante "));
    EXPECT_EQ(std::count(xml.begin(), xml.end(), '\n'), std::count(xml.begin(), xml.end(), '\r'));
    EXPECT_EQ(xml.find("\r\r"), std::string::npos);
    for (const std::string& sentencia : facturador::Leer_Comprobante_Timbrado(ruta_xml, -7)) {
        EXPECT_EQ(sentencia.find("= '' WHERE"), std::string::npos) << sentencia;
        EXPECT_EQ(sentencia.find("= 0 WHERE"), std::string::npos) << sentencia;
    }
    facturador::Comprobante_Leido leido;
    ASSERT_EQ(facturador::Leer_Comprobante(xml, leido), std::nullopt);
    using P = facturador::Parte_Comprobante;
    EXPECT_EQ(leido.Atributo(P::Comprobante, "Total") + " " +
                  leido.Atributo(P::Comprobante, "FormaPago") + " " +
                  leido.Atributo(P::Traslado, "Importe"),
              "116.00 03 16.00");
    EXPECT_EQ(leido.Atributo(P::Emisor, "Nombre"), "Café & Té \"La Ñ\" <Centro>");
    EXPECT_EQ(leido.Atributo(P::Receptor, "Nombre"), "Juan Peña Güemes");
}

// A forced refusal's reason is the first line of the error text, in Windows-1252.
TEST_F(Pasada, AForcedRefusalLeavesTheReasonOnTheFirstLineOfTheErrorText) {
    Encolar("Factura A Folio 1502.txt", Texto_para_Timbrar());
    Comportamiento c;
    c.falla = "307 - El comprobante ya está timbrado";
    EXPECT_EQ(Atender(c).rechazados, 1);
    const std::string error =
        Leer_Archivo(Unir_Ruta(carpetas.no_validas, "Factura A Folio 1502-error timbrado.txt"));
    EXPECT_EQ(error.substr(0, error.find("\r\n")), facturador::A_Windows_1252(*c.falla));
    EXPECT_EQ(Listado(carpetas.cola) + "/" + Listado(carpetas.validas), "/");
}

// A file younger than the delay, or than a second while it may still be being copied, waits; a
// cancellation leaves the queue unanswered and anything else stays.
TEST_F(Pasada, TheDelayCancellationsAndForeignFiles) {
    Encolar("Factura A Folio 1.txt", "[Comprobante]", 0);
    Encolar("Factura A Folio 2.txt", Texto_para_Timbrar(), 29);
    Encolar("Factura A Folio 3.txt", Texto_para_Timbrar(), 30);
    Encolar("Cancelar_A1400.xml", "TCO010101AB1|C95E14EF-F8C7-4B4B-9F88-A27800A46A2D\r\n");
    Encolar("notas.doc", "x");
    Encolar(".Factura A Folio 9.txt.123.parcial", "x");
    Comportamiento c;
    c.demora = std::chrono::seconds(30);
    const Resumen_Pasada r = Atender(c);
    EXPECT_EQ(r.timbrados * 100 + r.en_espera * 10 + r.cancelaciones, 121);
    EXPECT_NE(bitacora.str().find("C95E14EF-F8C7-4B4B-9F88-A27800A46A2D"), std::string::npos);
    EXPECT_EQ(Listado(carpetas.cola),
              ".Factura A Folio 9.txt.123.parcial|Factura A Folio 1.txt|"
              "Factura A Folio 2.txt|notas.doc");
    EXPECT_EQ(Atender().en_espera, 1) << "without a delay only the file being copied waits";
}

// Each file stamped or rejected gets one line in the record. A result that cannot be written
// sends its file back into the queue, whole, and leaves neither a half result nor a line.
TEST_F(Pasada, ElRegistroLlevaUnaLineaPorArchivoTimbradoORechazado) {
    std::ostringstream registro;
    Encolar(kNombre, Texto_para_Timbrar());
    const std::string bytes = Texto_para_Timbrar("Folio=1501", "Folio=1502");
    const std::string devuelto = Encolar("Factura A Folio 1502.txt", bytes);
    fs::create_directory(Unir_Ruta(carpetas.validas, "Factura A Folio 1502.pdf"));  // its PDF fails
    Encolar("Factura A Folio 1503.txt", Texto_para_Timbrar("Rfc=PEÑJ800101AB1", "Rfc=X"));
    EXPECT_EQ(Atender_Cola(carpetas, {}, ahora, bitacora, &registro).fallas, 1);

    const std::string texto = registro.str();
    const std::string uuid = texto.substr(texto.find("\t1501\t") + 6, 36);
    EXPECT_EQ(texto, "timbrada\tsucursal de prueba\tA\t1501\t" + uuid +
                         "\t77\nrechazada\tsucursal de prueba\tA\t1501\t\t77\n");
    EXPECT_EQ(Leer_Archivo(devuelto), bytes);
    EXPECT_EQ(Listado(carpetas.validas),
              "Factura A Folio 1501.pdf|Factura A Folio 1501.xml|Factura A Folio 1502.pdf");
}

TEST(Validacion, AFaultyFileIsRefusedWithTheProvidersCode) {
    const char* const casos[][3] = {
        // line of the file to stamp, replaced by, expected code ("" when it can be stamped)
        {"Rfc=PEÑJ800101AB1", "Rfc=XAXX010101000", ""},
        {"Rfc=PEÑJ800101AB1", "Rfc=pejj800101ab1", "CFDI40147"},
        {"Rfc=TCO010101AB1", "Rfc=", "CFDI40131"},
        {"DomicilioFiscalReceptor=03100", "DomicilioFiscalReceptor=3100", "CFDI40149"},
        {"Rfc=PEÑJ800101AB1", "Rfc=PEÑJ800101ABZ", "CFDI40147"},  // check digit or "A"
        {"FormaPago=03", "FormaPago=Efectivo", "CFDI40104"},
        {"FormaPago=03", "FormaPago=07", "CFDI40104"},
        {"Total=116.00", "Total=116.02", "CFDI40119"},
        {"UsoCFDI=G03", "UsoCFDI=", "CFDI40158"},
        {"[Receptor]", "[Cliente]", "301"},
    };
    for (const auto& [linea, por, codigo] : casos) {
        const auto motivo =
            Motivo_Rechazo(Archivo_para_Timbrar::Leer(Texto_para_Timbrar(linea, por)));
        EXPECT_EQ(motivo.value_or("").substr(0, std::strlen(codigo)), codigo) << por;
        EXPECT_EQ(motivo.has_value(), *codigo != '\0') << por;
    }
}

}  // namespace
}  // namespace timbrador::pruebas

#include <gtest/gtest.h>

#include <algorithm>

#include "intake/Apoyo_Recepcion.h"
#include "intake/Montos_Facturados.h"
#include "intake/Recepcion.h"
#include "intake/Resultado_Timbrado.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

// What one stamped request queues before the scan's status 3: 33 invoice updates and its amount.
constexpr size_t kPor_Solicitud = 34;

std::string Estado_3(int id) {
    return "UPDATE Solicitudes_de_Facturas_OL SET Status = 3 WHERE ID = " + std::to_string(id);
}

class Recepcion : public Prueba_Recepcion {
  protected:
    static std::string Documentos() {
        Recordset rs = Consultar_Central(
            "SELECT ID, ID_Factura, Titulo, Nombre_Archivo, Documento FROM Comprobantes_Fiscales "
            "ORDER BY ID DESC");
        std::string filas;
        for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
            filas += rs.Texto(0) + "|" + rs.Texto(1) + "|" + rs.Texto(2) + "|" + rs.Texto(3) + "|" +
                     std::to_string(rs.Texto(4).size()) + ";";
        return filas;
    }

    // Queued statements of this request or its invoice.
    static long Sentencias_De(int id) {
        const std::string n = std::to_string(id);
        return std::count_if(Cola().begin(), Cola().end(), [&](const std::string& s) {
            return s.ends_with("ID_Factura = -" + n) || s == Estado_3(id) ||
                   s.find("VALUES ('4711', '" + n + "'") != std::string::npos;
        });
    }
};

TEST_F(Recepcion, AStampedRequestIsCompletedWhenTheQueueRuns) {
    Sembrar_Solicitud(1);
    Dejar_Timbrado(1);
    Almacenar_Comprobantes_Pendientes();
    ASSERT_EQ(Cola().size(), kPor_Solicitud + 1);
    EXPECT_EQ(Cola()[32], "UPDATE Facturas_Electronicas SET Status = 2 WHERE ID_Factura = -1");
    EXPECT_EQ(Cola()[33],
              Sentencia_Monto_Facturado({-1, "F1501", 1, "A", 1501, 3, 4711, 116.5}, Ahora()));
    EXPECT_EQ(Cola()[34], Estado_3(1));
    const std::string xml = std::to_string(Muestra_Cfdi(kCfdi_Una_Linea).size());
    EXPECT_EQ(Documentos(),
              "-1|-1|Documento PDF  A1501|F1501.pdf|22;"
              "-2|-1|Documento XML  A1501|F1501.xml|" +
                  xml + ";");
    EXPECT_EQ(Veces(Leer_Log(),
                    "Solicitud ID: 1  -  Ticket Nro. 4711 - Se asentó el monto "
                    "Facturado:  $ 116.5    Factura: A-1501"),
              1);

    // Had the queue been rolled back, the next scan takes it in again, under the same keys.
    Dejar(Ruta_PDF(1), "PDF regenerado");
    Reiniciar_Sentencias_Pendientes();
    Almacenar_Comprobantes_Pendientes();
    EXPECT_EQ(Cola().size(), kPor_Solicitud + 1);
    EXPECT_EQ(Documentos(),
              "-1|-1|Documento PDF  A1501|F1501.pdf|14;"
              "-2|-1|Documento XML  A1501|F1501.xml|" +
                  xml + ";");

    EXPECT_EQ(Solicitud(1, "Status"), "2");
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Solicitud(1, "Status"), "3");
    EXPECT_EQ(Valor_Central("SELECT CONCAT(Status, ' ', UUID, ' ', total) FROM "
                            "Facturas_Electronicas WHERE ID_Factura = -1"),
              "2 1E5A6E1B-9C1B-5319-BFED-123BD143A310 1191.95");
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Montos_Facturados WHERE ID_Solicitud = 1"), "1");
}

TEST_F(Recepcion, HalfAResultOrNoneLeavesTheRequestWaiting) {
    Sembrar_Solicitud(1);
    Dejar(Ruta_PDF(1), "pdf");
    Sembrar_Solicitud(2);
    Dejar(Ruta_XML(2), Muestra_Cfdi(kCfdi_LF));
    // Rejected before any file to stamp was written: looked up as ".xml", ".pdf" and so on.
    Sembrar_Solicitud(3, {{"Archivo", "''"}});
    Almacenar_Comprobantes_Pendientes();
    EXPECT_TRUE(Cola().empty());
    EXPECT_EQ(Documentos(), "");
    for (int id = 1; id <= 3; ++id)
        EXPECT_EQ(Solicitud(id, "CONCAT(Status, Resultado)"), "2");
    // A branch without a profile has empty folders.
    EXPECT_EQ(Rutas_de_Resultado("F7", Carpetas_de_Resultado(9)).Error, "/F7-error timbrado.txt");
}

TEST_F(Recepcion, AnErrorFileRejectsTheRequestWithItsFirstLine) {
    const std::map<int, std::string> errores = {
        {1, "Timbrado rechazado: RFC inv\xE1lido\r\nsegunda linea\r\n"},
        {2, ""},
        {3, "CFDI40147 - 'Folio' \"duplicado\"\nsegunda linea\n"},
        {4, "Ignorado: el XML y el PDF ya llegaron"}};
    for (const auto& [id, texto] : errores) {
        Sembrar_Solicitud(id);
        Dejar(Ruta_Error(id), texto);
    }
    Dejar_Timbrado(4);
    Almacenar_Comprobantes_Pendientes();
    EXPECT_EQ(Solicitud(1, "Resultado"), "Error: Timbrado rechazado: RFC inválido");
    EXPECT_EQ(Solicitud(2, "Resultado"), "Error:");
    EXPECT_EQ(Solicitud(3, "Resultado"), "Error: CFDI40147 - Folio duplicado");
    EXPECT_EQ(Solicitud(3, "Status"), "4");
    EXPECT_EQ(Solicitud(4, "CONCAT(Status, Resultado)"), "2");
    EXPECT_EQ(Cola().back(), Estado_3(4));
}

TEST_F(Recepcion, TwoStampedRequestsQueueInTheOrderOfTheirKeys) {
    Sembrar_Solicitud(2, {{"Total", "NULL"}});
    Dejar_Timbrado(2, kCfdi_CRLF);
    Sembrar_Solicitud(1);
    Dejar_Timbrado(1, kCfdi_LF);
    Almacenar_Comprobantes_Pendientes();
    ASSERT_EQ(Cola().size(), 2 * kPor_Solicitud + 2);
    EXPECT_TRUE(Cola()[0].ends_with("WHERE ID_Factura = -1"));
    EXPECT_NE(Cola()[33].find("VALUES ('4711', '1', '3', '2026/12/05', '10:15', '116.5', "),
              std::string::npos);
    EXPECT_TRUE(Cola()[34].ends_with("WHERE ID_Factura = -2"));
    // A request whose total is Null records 0.
    EXPECT_NE(Cola()[67].find("VALUES ('4711', '2', '3', '2026/12/05', '10:15', '0', '0', "),
              std::string::npos);
    EXPECT_EQ(Cola()[68], Estado_3(1));
    EXPECT_EQ(Cola()[69], Estado_3(2));
    EXPECT_NE(Leer_Log().find("Se asentó el monto Facturado:  $ 0    Factura: A-1502"),
              std::string::npos);
}

TEST_F(Recepcion, RejectedRequestsAreLookedAtAgainFromDecemberFirst2024) {
    Sembrar_Solicitud(1, {{"Status", "4"}, {"Fecha", "'2024/11/30'"}, {"Resultado", "'viejo'"}});
    Dejar_Timbrado(1);
    Sembrar_Solicitud(2, {{"Status", "4"}, {"Fecha", "'2024/12/01'"}, {"Resultado", "'viejo'"}});
    Dejar_Timbrado(2);
    Sembrar_Solicitud(3, {{"Status", "4"}, {"Fecha", "'2025/06/01'"}, {"Resultado", "'viejo'"}});
    Dejar(Ruta_Error(3), "nuevo motivo");
    Sembrar_Solicitud(4);
    Dejar_Timbrado(4);
    Almacenar_Comprobantes_con_Errores_de_Timbrados();
    EXPECT_EQ(Solicitud(3, "Resultado"), "Error: nuevo motivo");
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Solicitud(1, "CONCAT(Status, Resultado)"), "4viejo");
    EXPECT_EQ(Solicitud(2, "Status"), "3");
    EXPECT_EQ(Solicitud(4, "Status"), "2");
}

// When its XML or a document cannot be read nothing of a request is queued, the failure is
// logged, and the next scan takes it in.
TEST_F(Recepcion, ARequestThatCannotBeTakenInQueuesNothingAndIsTriedAgain) {
    Sembrar_Solicitud(1);
    Dejar_Timbrado(1);
    Hacer_Ilegible(Ruta_XML(1));
    Sembrar_Solicitud(2);
    Dejar_Timbrado(2);
    Hacer_Ilegible(Ruta_PDF(2));
    Sembrar_Solicitud(3);
    Dejar_Timbrado(3);
    Almacenar_Comprobantes_Pendientes();
    EXPECT_EQ(Sentencias_De(1) + Sentencias_De(2), 0);
    EXPECT_EQ(Cola().size(), kPor_Solicitud + 1);
    EXPECT_EQ(Veces(Documentos(), "|-3|"), 2);
    EXPECT_EQ(Veces(Documentos(), "|"), 8);
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, "Error:  Input/output error: "), 2) << log;
    EXPECT_EQ(Veces(log, "  -  Almacenar el comprobante timbrado de la Solicitud ID: 2"), 1);
    EXPECT_TRUE(entorno.operador.mostrados.empty());

    Dejar_Timbrado(1);
    Dejar_Timbrado(2);
    Reiniciar_Sentencias_Pendientes();
    Almacenar_Comprobantes_Pendientes();
    EXPECT_EQ(Sentencias_De(1), kPor_Solicitud + 1);
    EXPECT_EQ(Sentencias_De(2), kPor_Solicitud + 1);
}

// A failure partway (an error file that cannot be read) ends the scan, but the requests taken in
// before it get their status 3 and nothing of a later one is queued.
TEST_F(Recepcion, AScanThatFailsPartwayLeavesAConsistentQueue) {
    for (int id = 1; id <= 3; ++id)
        Sembrar_Solicitud(id);
    Dejar_Timbrado(1);
    Hacer_Ilegible(Ruta_Error(2));
    Dejar_Timbrado(3);
    EXPECT_THROW(Almacenar_Comprobantes_Pendientes(), Error_Plataforma);
    EXPECT_EQ(Cola().size(), kPor_Solicitud + 1);
    EXPECT_EQ(Cola().back(), Estado_3(1));
    EXPECT_EQ(Sentencias_De(3), 0);
}

TEST_F(Recepcion, TheRejectedScanLogsItsFailureWithoutTellingTheOperator) {
    Sembrar_Solicitud(1, {{"Status", "4"}});
    Dejar_Timbrado(1);
    Sembrar_Solicitud(2, {{"Status", "4"}});
    Hacer_Ilegible(Ruta_Error(2));
    EXPECT_NO_THROW(Almacenar_Comprobantes_con_Errores_de_Timbrados());
    EXPECT_TRUE(entorno.operador.mostrados.empty());
    EXPECT_NE(Leer_Log().find("  -  Almacenar comprobantes con errores de timbrado"),
              std::string::npos);
    EXPECT_EQ(Cola().back(), Estado_3(1));
}

}  // namespace
}  // namespace facturador::pruebas

#include <sys/resource.h>

#include <algorithm>
#include <filesystem>

#include "apoyo/Vecino_Hostil.h"
#include "intake/Almacen_Comprobantes.h"
#include "intake/Apoyo_Recepcion.h"
#include "intake/Recepcion.h"
#include "intake/Solicitudes_Timbradas.h"
#include "intake/Toma_Resultado.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador::pruebas {
namespace {

// What one stamped request queues before the scan's status 3: 33 invoice updates and its amount.
constexpr size_t kPor_Solicitud = 34;

std::string Estado_3(int id) {
    return "UPDATE Solicitudes_de_Facturas_OL SET Status = 3 WHERE ID = " + std::to_string(id);
}

// Queued statements of this request or its invoice.
long Sentencias_De(int id) {
    const std::string n = std::to_string(id);
    const auto& cola = Sentencias_Pendientes();
    return std::count_if(cola.begin(), cola.end(), [&](const std::string& s) {
        return s.ends_with("ID_Factura = -" + n) || s == Estado_3(id) ||
               s.find("VALUES ('4711', '" + n + "'") != std::string::npos;
    });
}

using Recepcion = Prueba_Recepcion;

// Each stamped request queues its 33 invoice updates and its amount, in the order of the keys,
// then their status 3; its two documents are stored at once. On a machine kept in UTC the amount
// is dated in the branch's time, the log in the machine's. A total left Null records 0.
TEST_F(Recepcion, StampedRequestsQueueInKeyOrderAndCompleteWhenTheQueueRuns) {
    entorno.reloj = Reloj_Fijo({2026, 12, 5, 16, 15, 40}, "Etc/UTC");
    Sembrar_Solicitud(2, {{"Total", "116"}, {"Serie", "'O''B'"}});
    Dejar_Timbrado(2, kCfdi_CRLF);
    Sembrar_Solicitud(1);
    Sembrar_Solicitud(3, {{"Total", "NULL"}});
    for (int id : {1, 3})
        Dejar_Timbrado(id);
    Almacenar_Comprobantes_Pendientes();
    ASSERT_EQ(Cola().size(), 3 * kPor_Solicitud + 3);
    EXPECT_TRUE(Cola()[0].ends_with("WHERE ID_Factura = -1"));
    // The amount: ten quoted values, the total in its shortest form.
    EXPECT_EQ(Cola()[33],
              "INSERT INTO Montos_Facturados (Nro_Ticket, ID_Solicitud, ID_Sucursal, Fecha, Hora, "
              "Total, Status, Serie, Folio, FUM) VALUES ('4711', '1', '3', '2026/12/05', "
              "'10:15', '116.5', '0', 'A', '1501', '2026/12/05')");
    EXPECT_TRUE(Cola()[34].ends_with("WHERE ID_Factura = -2"));
    EXPECT_TRUE(Contiene(Cola()[67], ", '116', '0', 'O\\'B', '1502', "));
    EXPECT_EQ(Cola()[102], Estado_3(1));
    EXPECT_EQ(Cola()[103], Estado_3(2));
    const std::string xml = std::to_string(Cfdi_Para(1).size());
    const std::string documentos =
        Documentos("ID, ID_Factura, Titulo, Nombre_Archivo, LENGTH(Documento)");
    EXPECT_TRUE(
        documentos.starts_with("-1|-1|Documento PDF  A1501|F1501.pdf|22;-2|-1|Documento "
                               "XML  A1501|F1501.xml|" +
                               xml + ";-3|-2|"));
    EXPECT_EQ(Veces(documentos, ";"), 6);

    // The amounts reach the log once they are committed, in the order of the queue.
    EXPECT_EQ(Solicitud(1, "Status"), "2");
    EXPECT_EQ(Leer_Log(), "");
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Estados_Solicitudes(""), "333");
    const std::string log = Leer_Log();
    EXPECT_EQ(log.find("Ver. V. 5.3.0 - 16:15 -  Solicitud ID: 1  -  Ticket Nro. 4711 - Se asentó "
                       "el monto Facturado:  $ 116.5    Factura: A-1501\r\n"),
              0u);
    EXPECT_TRUE(Una_Vez(log, "Se asentó el monto Facturado:  $ 116    Factura: O'B-1502"));
    EXPECT_TRUE(Una_Vez(log, "Se asentó el monto Facturado:  $ 0    Factura: A-1503"));
    EXPECT_EQ(Valor_Central("SELECT CONCAT(Status, ' ', UUID, ' ', total) FROM "
                            "Facturas_Electronicas WHERE ID_Factura = -1"),
              "2 1E5A6E1B-9C1B-5319-BFED-123BD143A310 116.5");
    EXPECT_EQ(Valor_Central("SELECT GROUP_CONCAT(Serie, Total, '/', Status ORDER BY "
                            "ID_Solicitud) FROM Montos_Facturados"),
              "A116.5/0,O'B116/0,A0/0");
}

// Half a result, or none, leaves a request waiting; an error file rejects it with its first line,
// cleaned, unless its XML and PDF arrived. A link or a pipe there is neither read nor waited on
// (listed as a mismatch, told once). Of a huge sparse error text only the first kilobytes are read,
// in the line's own encoding even when the limit cuts one of its characters in two.
TEST_F(Recepcion, ARequestWaitsForItsWholeResultOrIsRejectedByItsErrorFile) {
    Sembrar_Solicitud(1);
    Dejar(Ruta_PDF(1), "pdf");
    Sembrar_Solicitud(2);
    Dejar(Ruta_XML(2), Muestra_Cfdi(kCfdi_LF));
    // Rejected before any file to stamp was written: looked up as ".xml", ".pdf" and so on.
    Sembrar_Solicitud(3, {{"Archivo", "''"}});
    // Two and four bytes a character: the limit falls after the first byte of one, or after the
    // third.
    std::string rechazo = "Rechazo: ", emojis = "Rechazo: ";
    for (int i = 0; i < 3000; ++i) {
        rechazo += "é";
        emojis += "😀";
    }
    const std::map<int, std::string> errores = {
        {4, "Timbrado rechazado: RFC inv\xE1lido\r\nsegunda linea\r\n"},
        {5, ""},
        {6, "CFDI40147 - 'Folio' \"duplicado\"\nsegunda linea\n"},
        {7, "Ignorado: el XML y el PDF ya llegaron"},
        {11, rechazo},
        {12, emojis},
        {13, "Rechazado para Jos\xE9"},  // Windows-1252 to its last letter
        {14, "Rechazo: Jos\xE9 " + std::string(5000, 'x')}};  // and cut by the limit
    for (const auto& [id, texto] : errores) {
        Sembrar_Solicitud(id);
        Dejar(Ruta_Error(id), texto);
    }
    Dejar_Timbrado(7);
    Sembrar_Solicitud(8);
    ASSERT_TRUE(Plantar_Enlace(Ruta_Error(8), "/etc/passwd"));
    Sembrar_Solicitud(9);
    ASSERT_TRUE(Plantar_Tuberia(Ruta_Error(9)));
    Sembrar_Solicitud(10);
    ASSERT_TRUE(Plantar_Disperso(Ruta_Error(10), "CFDI40999 - Disperso", 1LL << 30));
    Almacenar_Comprobantes_Pendientes();
    for (int id : {1, 2, 3, 7, 8, 9})
        EXPECT_EQ(Solicitud(id, "CONCAT(Status, Resultado)"), "2") << id;
    EXPECT_EQ(Solicitud(10, "Resultado"), "Error: CFDI40999 - Disperso");
    struct rusage uso {};
    getrusage(RUSAGE_SELF, &uso);
    EXPECT_LT(uso.ru_maxrss, 256L * 1024) << "kB at the most";
    EXPECT_EQ(Veces(Leer_Log(), "el texto de error no es un archivo regular"), 2);
    EXPECT_EQ(Observaciones_Recepcion_Actuales().Discrepancias.size(), 2u);
    EXPECT_EQ(Solicitud(4, "Resultado"), "Error: Timbrado rechazado: RFC inválido");
    EXPECT_EQ(Solicitud(5, "Resultado"), "Error:");
    EXPECT_EQ(Solicitud(11, "LEFT(Resultado, 20)"), "Error: Rechazo: éééé");
    EXPECT_EQ(Solicitud(12, "LEFT(Resultado, 18)"), "Error: Rechazo: 😀😀");
    EXPECT_EQ(Solicitud(13, "Resultado"), "Error: Rechazado para José");
    EXPECT_EQ(Solicitud(14, "LEFT(Resultado, 20)"), "Error: Rechazo: José");
    EXPECT_EQ(Solicitud(6, "CONCAT(Status, Resultado)"), "4Error: CFDI40147 - Folio duplicado");
    EXPECT_EQ(Cola().size(), kPor_Solicitud + 1);
    EXPECT_EQ(Cola().back(), Estado_3(7));
    EXPECT_EQ(Documentos("ID_Factura"), "-7;-7;");
}

// The rejected are looked at again from 01/12/2024 on; a failure of that scan is only logged.
TEST_F(Recepcion, RejectedRequestsAreLookedAtAgainAndAFailureIsOnlyLogged) {
    for (const auto& [id, fecha] :
         {std::pair{1, "'2024/11/30'"}, {2, "'2024/12/01'"}, {3, "'2025/06/01'"}})
        Sembrar_Solicitud(id, {{"Status", "4"}, {"Fecha", fecha}, {"Resultado", "'viejo'"}});
    Sembrar_Solicitud(4);
    for (int id : {1, 2, 4})
        Dejar_Timbrado(id);
    Dejar(Ruta_Error(3), "nuevo motivo");
    Sembrar_Solicitud(5, {{"Status", "4"}});
    Dejar(Ruta_Error(5), "rechazo que el servidor no acepta");
    Iniciar_Revision_Rechazadas();
    {
        const Regla_Temporal regla("Solicitudes_de_Facturas_OL", "Resultado NOT LIKE '%acepta%'");
        EXPECT_NO_THROW(Almacenar_Comprobantes_con_Errores_de_Timbrados());
    }
    EXPECT_TRUE(entorno.operador.mostrados.empty());
    EXPECT_TRUE(Contiene(Leer_Log(), "  -  Almacenar comprobantes con errores de timbrado"));
    EXPECT_EQ(Solicitud(3, "Resultado"), "Error: nuevo motivo");
    EXPECT_EQ(Cola().back(), Estado_3(2));
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Solicitud(1, "CONCAT(Status, Resultado)"), "4viejo");
    EXPECT_EQ(Solicitud(2, "Status") + Solicitud(4, "Status"), "32");
}

// Whatever keeps results in their status (a batch not committed), each scan goes on from where the
// last stopped, and so does a look at the rejected ones until the last; a new look starts again.
TEST_F(Recepcion, EachScanGoesOnWhereTheLastOneStopped) {
    Seguimiento_Recepcion_Actual().Maximo_Por_Escaneo = 1;
    for (int id : {1, 2, 3, 4}) {
        Sembrar_Solicitud(
            id, id > 2 ? Columnas{{"Status", "4"}, {"Fecha", "'2026/12/01'"}} : Columnas{});
        Dejar_Timbrado(id);
    }
    for (const int32_t id : {1, 2, 1}) {
        Almacenar_Comprobantes_Pendientes();  // its batch not run
        EXPECT_EQ(Solicitudes_Timbradas(), std::vector<int32_t>{id});
    }
    Iniciar_Revision_Rechazadas();
    Almacenar_Comprobantes_con_Errores_de_Timbrados();  // 3, its batch not run
    Reiniciar_Sentencias_Pendientes();
    Iniciar_Revision_Rechazadas();
    for (int ciclo = 0; ciclo < 2; ++ciclo) {
        Almacenar_Comprobantes_con_Errores_de_Timbrados();
        Ejecutar_Sentencias_Pendientes();
        Reiniciar_Sentencias_Pendientes();
    }
    EXPECT_EQ(Solicitud(3, "Status") + Solicitud(4, "Status"), "33");
    EXPECT_FALSE(Seguimiento_Recepcion_Actual().Rechazadas_Por_Revisar);
}

// A document that cannot be stored queues nothing of its request (what was stored stays), is
// logged, and the next scan takes it in. A failure that ends the scan (a rejection refused) keeps
// the requests taken in before it, with their status 3, and nothing of a later one.
TEST_F(Recepcion, FailuresLeaveTheQueueWholePerRequestAndAreTriedAgain) {
    for (int id = 1; id <= 5; ++id) {
        Sembrar_Solicitud(id);
        if (id != 4)
            Dejar_Timbrado(id);
    }
    Dejar(Ruta_Error(4), "rechazo que el servidor no acepta");
    {
        const Regla_Temporal documentos(
            "Comprobantes_Fiscales",
            "ID_Factura <> -1 AND (ID_Factura <> -2 OR Descripcion <> 'XML')");
        const Regla_Temporal solicitudes("Solicitudes_de_Facturas_OL",
                                         "Resultado NOT LIKE '%acepta%'");
        EXPECT_THROW(Almacenar_Comprobantes_Pendientes(), Error_Plataforma);
    }
    EXPECT_EQ(Sentencias_De(1) + Sentencias_De(2) + Sentencias_De(5), 0);
    EXPECT_EQ(Sentencias_De(3), kPor_Solicitud + 1);
    EXPECT_EQ(Cola().size(), kPor_Solicitud + 1);
    EXPECT_EQ(Cola().back(), Estado_3(3));
    EXPECT_EQ(Documentos("ID_Factura, Titulo"),
              "-2|Documento PDF  A1502;-3|Documento PDF  A1503;-3|Documento XML  A1503;");
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, "CONSTRAINT `regla_prueba` failed"), 2) << log;
    EXPECT_TRUE(Una_Vez(log, "  -  Almacenar el comprobante timbrado de la Solicitud ID: 2"));
    EXPECT_TRUE(entorno.operador.mostrados.empty());

    std::filesystem::remove(Ruta_Error(4));
    Dejar_Timbrado(4);
    Reiniciar_Sentencias_Pendientes();
    {  // routine on a cluster: a conflict only waits for the next scan, and is no failure
        const Conflicto_Temporal conflicto("Comprobantes_Fiscales", "INSERT");
        Almacenar_Comprobantes_Pendientes();
    }
    EXPECT_EQ(Veces(Leer_Log(), "Error:  "), 2);
    EXPECT_GT(Veces(Leer_Log(), "Conflicto:  Deadlock found"), 0);
    Reiniciar_Sentencias_Pendientes();
    Almacenar_Comprobantes_Pendientes();
    for (int id = 1; id <= 5; ++id)
        EXPECT_EQ(Sentencias_De(id), kPor_Solicitud + 1) << id;
}

class Almacen_Comprobantes : public Prueba_Recepcion {
  protected:
    static Documento_Fiscal PDF(int32_t factura, const std::string& contenido) {
        return {factura, "F.pdf", contenido, "Documento PDF  A1500", "PDF", 3};
    }
};

// Keys count down from -1 below others' positive keys, then from the lowest. A document of the same
// invoice and title is replaced in one transaction, and keeps its key.
TEST_F(Almacen_Comprobantes, StoredWholeUnderNegativeKeysAndReplacedOnlyWhenAllWentWell) {
    Ejecutar_Central("INSERT INTO Comprobantes_Fiscales (ID, ID_Factura) VALUES (25, -2)");
    Almacenar_Documento(PDF(-12, Contenido_PDF()));
    EXPECT_EQ(Documentos("ID, ID_Factura, Titulo, Nombre_Archivo, Tamanio_Documento, Tipo_Archivo, "
                         "Tipo, Sub_Tipo, Status, Descripcion, FUM, ID_Sucursal"),
              "-1|-12|Documento PDF  A1500|F.pdf|" + std::to_string(Contenido_PDF().size()) +
                  "|0|0|0|1|PDF|05/12/2026|3;");
    EXPECT_EQ(Valor_Central("SELECT Documento FROM Comprobantes_Fiscales WHERE ID = -1"),
              Contenido_PDF());

    Almacenar_Documento(PDF(-13, "otra factura"));
    Ejecutar_Central("INSERT INTO Comprobantes_Fiscales (ID, ID_Factura) VALUES (-10, -1)");
    Documento_Fiscal xml = PDF(-12, "<xml/>");
    xml.Titulo = "Documento XML  A1500";
    Almacenar_Documento(xml);
    Almacenar_Documento(PDF(-12, "segundo, mas largo"));
    EXPECT_EQ(Documentos("ID, ID_Factura, Titulo, Documento, Tamanio_Documento"),
              "-1|-12|Documento PDF  A1500|segundo, mas largo|18;"
              "-2|-13|Documento PDF  A1500|otra factura|12;-10|-1|||0;"
              "-11|-12|Documento XML  A1500|<xml/>|6;");

    // The earlier document stays when the new row is refused.
    const std::string antes = Documentos("ID, Documento, FUM");
    Documento_Fiscal rechazado = PDF(-12, "tercero");
    rechazado.Nombre_Archivo = std::string(300, 'n') + ".pdf";
    entorno.reloj.Avanzar_Segundos(86400);
    EXPECT_THROW(Almacenar_Documento(rechazado), Error_Plataforma);
    EXPECT_EQ(Documentos("ID, Documento, FUM"), antes);
}

class Resultados_Dudosos : public Prueba_Recepcion {
  protected:
    static std::string Claves(const std::map<int32_t, Observacion_Solicitud>& lista) {
        std::string claves;
        for (const auto& [id, observacion] : lista)
            claves += std::to_string(id) + " ";
        return claves;
    }
    static const Observaciones_Recepcion& Observadas() {
        return Observaciones_Recepcion_Actuales();
    }
    // One cycle's intake, `segundos` after the last one.
    void Ciclo(long long segundos = 1) {
        entorno.reloj.Avanzar_Segundos(segundos);
        Reiniciar_Sentencias_Pendientes();
        Almacenar_Comprobantes_Pendientes();
        Ejecutar_Sentencias_Pendientes();
    }
};

// A result that is not its request's stamped invoice stays where it is, the request in its status,
// listed, one line telling both values; put right, it is taken in. Rejected requests alike.
TEST_F(Resultados_Dudosos, AResultThatIsNotTheRequestsInvoiceIsLeftWhereItIs) {
    for (int id = 1; id <= 9; ++id) {
        Sembrar_Solicitud(id);
        Dejar(Ruta_PDF(id), Contenido_PDF());
    }
    // A link to the request's very invoice, and an empty PDF beside it, are not the result.
    const std::string enlazado = Unir_Ruta(entorno.Carpeta(), "enlazado.xml");
    Escribir_Archivo(enlazado, Cfdi_Para(1));
    std::filesystem::create_symlink(enlazado, Ruta_XML(1));
    Dejar(Ruta_XML(2), Cfdi_Para(2));
    Dejar(Ruta_PDF(2), "");
    Dejar(Ruta_XML(3), Cfdi_Para(3).substr(0, Cfdi_Para(3).size() / 2));
    Dejar(Ruta_XML(4), Con_Atributo(Cfdi_Para(4), "cfdi:Comprobante", "Serie", "B"));
    Dejar(Ruta_XML(5), Con_Atributo(Cfdi_Para(5), "cfdi:Comprobante", "Folio", "1501"));
    Dejar(Ruta_XML(6), Con_Atributo(Cfdi_Para(6), "cfdi:Receptor", "Rfc", "XAXX010101000"));
    Dejar(Ruta_XML(7), Con_Atributo(Cfdi_Para(7), "cfdi:Comprobante", "Total", "116.51"));
    Dejar(Ruta_XML(8), Con_Atributo(Cfdi_Para(8), "tfd:TimbreFiscalDigital", "UUID",
                                    "1E5A6E1B-9C1B-5319-BFED-123BD143A310' OR '1'='1"));
    Dejar(Ruta_XML(9), Cfdi_Para(9));  // the RFC as typed: blanks and lower case aside
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET RFC = ' eku9003173c9' WHERE ID = 9");
    Ciclo();
    Ciclo(60);
    EXPECT_EQ(Estados_Solicitudes(""), "222222223");
    EXPECT_EQ(Claves(Observadas().Discrepancias), "1 2 3 4 5 6 7 8 ");
    EXPECT_EQ(Documentos("ID_Factura"), "-9;-9;");
    EXPECT_TRUE(Existe_Archivo(Ruta_XML(5)) && Existe_Archivo(Ruta_PDF(5)));
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, "El resultado timbrado no corresponde a la solicitud"), 8);
    EXPECT_TRUE(Una_Vez(log,
                        "Solicitud ID: 5 - Ticket Nro. 4711 - Factura A-1505 - El resultado "
                        "timbrado no corresponde a la solicitud y no se tomó; sus archivos quedan "
                        "en su carpeta: Folio del XML '1501', de la solicitud '1505'\r\n"));
    EXPECT_EQ(Observadas().Discrepancias.at(7).Detalle,
              "Total del XML '116.51', del archivo para timbrar '116.50'");
    EXPECT_TRUE(Contiene(Observadas().Discrepancias.at(3).Detalle, "bien formado"));
    EXPECT_TRUE(Contiene(Observadas().Discrepancias.at(8).Detalle, "UUID del timbre"));

    Dejar(Ruta_XML(5), Cfdi_Para(5));
    Sembrar_Solicitud(10, {{"Status", "4"}, {"Folio", "1"}});
    Dejar_Timbrado(10);
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Folio = 2 WHERE ID = 10");
    Ciclo();
    Iniciar_Revision_Rechazadas();
    Almacenar_Comprobantes_con_Errores_de_Timbrados();
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Solicitud(5, "Status") + Solicitud(10, "Status"), "34");
    EXPECT_EQ(Claves(Observadas().Discrepancias), "1 2 3 4 6 7 8 10 ");
    EXPECT_EQ(Observadas().Discrepancias.at(10).Status, 4);
}

// A sample whose characters are all Latin-1 in UTF-16, with no byte order mark.
std::string En_UTF16(const std::string& utf8, bool big_endian) {
    std::string bytes;
    for (const char c : A_Windows_1252(utf8))
        bytes += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
}

// A result is read in the encoding it gives itself (UTF-16 either way, with or without its mark,
// UTF-8 with one, Windows-1252 or ISO-8859-1 declared), its row gets the values compared. Bytes not
// as declared, a Total missing or not a number, or no series: refused, left where it is.
TEST_F(Resultados_Dudosos, AResultIsReadInItsOwnEncodingOrRefused) {
    for (int id = 1; id <= 11; ++id) {
        Sembrar_Solicitud(id, id == 10 ? Columnas{{"Serie", "''"}} : Columnas{});
        Dejar(Ruta_PDF(id), Contenido_PDF());
    }
    const auto muestra = [&](int id, const std::string& codificacion) {
        return Con_Atributo(Cfdi_Para(id, kCfdi_CRLF), "?xml", "encoding", codificacion);
    };
    Dejar(Ruta_XML(1), "\xFF\xFE" + En_UTF16(muestra(1, "UTF-16"), false));
    Dejar(Ruta_XML(2), En_UTF16(muestra(2, "UTF-16"), true));
    Dejar(Ruta_XML(3), "\xEF\xBB\xBF" + muestra(3, "UTF-8"));
    Dejar(Ruta_XML(4), A_Windows_1252(muestra(4, "windows-1252")));
    Dejar(Ruta_XML(5), "\xFE\xFF" + En_UTF16(muestra(5, "UTF-16"), true));
    Dejar(Ruta_XML(6), A_Windows_1252(muestra(6, "ISO-8859-1")));
    Dejar(Ruta_XML(7), muestra(7, "UTF-16"));
    std::string sin_total = Cfdi_Para(8);
    Dejar(Ruta_XML(8), sin_total.replace(sin_total.find(" Total="), 7, " Totales="));
    Dejar(Ruta_XML(9), Con_Atributo(Cfdi_Para(9), "cfdi:Comprobante", "Total", "ciento dieciséis"));
    Dejar(Ruta_XML(10), Cfdi_Para(10));
    Dejar(Ruta_XML(11), "\xEF\xBB\xBF" + muestra(11, "windows-1252"));  // the mark says UTF-8
    Ciclo();
    EXPECT_EQ(Estados_Solicitudes(""), "33333322222");
    EXPECT_EQ(Claves(Observadas().Discrepancias), "7 8 9 10 11 ");
    for (int id = 1; id <= 6; ++id)
        EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', serie, folio, total, rfc_cliente, "
                                "LENGTH(UUID), descripcion) FROM Facturas_Electronicas WHERE "
                                "ID_Factura = " +
                                Factura(id)),
                  "A|" + Folio(id) +
                      "|116.5|EKU9003173C9|36|Servicios de consultoría de "
                      "sistemas de información")
            << id;
}

// What the central database cannot hold keeps back its own request only (in 2, logged once,
// listed, not stored again each cycle). A number its invoice column cannot hold is stored as that
// column's empty value, logged once, and the request completes.
TEST_F(Resultados_Dudosos, WhatTheDatabaseCannotHoldKeepsBackOnlyItsOwnRequest) {
    // The largest double: its amount, written with 15 digits, is beyond what the column holds.
    for (int id = 1; id <= 6; ++id) {
        Sembrar_Solicitud(id, id == 3   ? Columnas{{"Total", "1.7976931348623157e308"}}
                              : id == 6 ? Columnas{{"Nro_Ticket", "666"}}
                                        : Columnas{});
        Dejar_Timbrado(id);
    }
    // A folio that the invoice row's text scan would read before the real one (it ignores the
    // case of letters): the row gets the folio the gate compared. A subtotal beyond a double.
    const std::string senuelo =
        Con_Atributo(Cfdi_Para(1), "cfdi:Comprobante", "folio", "99999999999");
    Dejar(Ruta_XML(1), Con_Atributo(senuelo, "cfdi:Comprobante", "SubTotal", "1e400"));
    Dejar(Ruta_XML(2),
          Con_Atributo(Cfdi_Para(2), "cfdi:Comprobante", "NoCertificado", std::string(31, '3')));
    Dejar(Ruta_PDF(5), std::string(17 * 1024 * 1024, '%'));  // the server takes 16 MiB packets
    {
        const Regla_Temporal regla("Montos_Facturados", "Nro_Ticket <> 666");
        Ciclo();
        EXPECT_EQ(Estados_Solicitudes(""), "322322");
        EXPECT_EQ(Claves(Observadas().No_Almacenables), "2 3 5 6 ");
        Ciclo(60);
    }
    EXPECT_TRUE(Sentencias_Pendientes().empty()) << "nothing taken in again";
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS(' ', folio, total, subTotal) FROM "
                            "Facturas_Electronicas WHERE ID_Factura = -1"),
              "1501 116.5 0");
    EXPECT_EQ(Documentos("ID_Factura"), "-1;-1;-4;-4;-6;-6;");
    const std::string log = Leer_Log();
    EXPECT_TRUE(Una_Vez(log, "'1e400' del comprobante timbrado no cabe en la columna subTotal"));
    for (const auto& [id, motivo] :
         std::map<int, std::string>{{2, "noCertificado admite 30 caracteres"},
                                    {3, "Montos_Facturados.Total"},
                                    {5, "max_allowed_packet"},
                                    {6, "regla_prueba"}}) {
        EXPECT_TRUE(Una_Vez(log, "Solicitud ID: " + std::to_string(id) + " - Ticket Nro.")) << id;
        EXPECT_TRUE(Contiene(Observadas().No_Almacenables.at(id).Detalle, motivo)) << id;
    }
    // Only the amount of a request that reached status 3 is told.
    EXPECT_EQ(Veces(log, "Se asentó el monto Facturado"), 2);
}

// The XML or the PDF swapped for a pipe after the scan looked at it (a regular file then): it is
// never waited on; the result does not match and stays where it is.
TEST_F(Resultados_Dudosos, AFileSwappedForAPipeAfterItWasLookedAtNeverHoldsTheScan) {
    Sembrar_Solicitud(1);
    Dejar_Timbrado(1);
    const Solicitud_Timbrado s{-1, "F1501", 1, "A", 1501, 3, 4711, 116.5};
    const Rutas_Resultado rutas = Rutas_de_Resultado(s.Archivo, {validas, no_validas});
    for (const std::string* cambiado : {&rutas.XML, &rutas.PDF}) {
        Dejar_Timbrado(1);
        const auto xml = Examinar_Entrada(rutas.XML), pdf = Examinar_Entrada(rutas.PDF);
        ASSERT_TRUE(Plantar_Tuberia(*cambiado));
        EXPECT_EQ(Tomar_Resultado_Timbrado(s, rutas, *xml, *pdf, 2), std::nullopt);
        EXPECT_EQ(Observadas().Discrepancias.at(1).Detalle,
                  cambiado == &rutas.XML ? "el XML no es un archivo regular"
                                         : "el PDF no es un archivo regular");
        Quitar_Observaciones_Resultado(1);
    }
    EXPECT_EQ(Documentos("ID_Factura"), "");
}

// An Archivo that would lead out of the result folders, or a result folder that climbs out with
// "..", is never looked in: listed as a result that does not match, told once.
TEST_F(Resultados_Dudosos, NamesThatWouldLeaveTheirFoldersAreNeverFollowed) {
    Sembrar_Solicitud(1, {{"Archivo", "'../F1501'"}});
    Sembrar_Solicitud(2, {{"Archivo", "'F1502\\n'"}});
    Dejar(Unir_Ruta(entorno.Carpeta(), "F1501.xml"), Cfdi_Para(1));
    Dejar(Unir_Ruta(entorno.Carpeta(), "F1501.pdf"), Contenido_PDF());
    Sembrar_Solicitud(3);
    Dejar_Timbrado(3);
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET Ruta_Facturas_Validas = '" +
                     Ruta_Para_BD(validas + "/../validas") + "'");
    Cargar_Datos_de_Emision();
    Ciclo();
    Ciclo();
    EXPECT_EQ(Estados_Solicitudes(""), "222");
    EXPECT_EQ(Claves(Observadas().Discrepancias), "1 2 3 ");
    EXPECT_TRUE(Contiene(Observadas().Discrepancias.at(1).Detalle, "no es un nombre de archivo"));
    EXPECT_TRUE(Contiene(Observadas().Discrepancias.at(3).Detalle, "sube de carpeta"));
    EXPECT_EQ(Veces(Leer_Log(), "El resultado timbrado no corresponde a la solicitud"), 3);
}

// A request in status 2 whose file to stamp is in none of its folders is logged once as stuck
// after 15 minutes, not before, and is no longer listed once its file is back.
TEST_F(Resultados_Dudosos, ARequestWithoutFileOrResultIsLoggedOnceAsStuck) {
    for (int id = 1; id <= 4; ++id)
        Sembrar_Solicitud(id);
    Dejar(Unir_Ruta(cola, "F1502.txt"), "publicado");
    Dejar(Unir_Ruta(cola, Nombre_Temporal_en_Cola("F1503.txt", 3, 7)), "esperando su commit");
    Dejar(Ruta_PDF(4), "medio resultado");
    Ciclo(0);
    Ciclo(14 * 60 + 59);
    EXPECT_TRUE(Observadas().Atascadas.empty());
    Ciclo(1);
    EXPECT_EQ(Claves(Observadas().Atascadas), "1 ");
    Ciclo(60);
    EXPECT_TRUE(Una_Vez(Leer_Log(),
                        "Solicitud ID: 1 - Ticket Nro. 4711 - Factura A-1501 - Solicitud "
                        "detenida en status 2: sin archivo para timbrar ni resultado "
                        "desde 05/12/2026 10:15;"));
    EXPECT_TRUE(Una_Vez(Leer_Log(), "detenida"));

    Dejar(Unir_Ruta(cola, "F1501.txt"), "encolado de nuevo");
    Ciclo(60);
    EXPECT_TRUE(Observadas().Atascadas.empty());
}

}  // namespace
}  // namespace facturador::pruebas

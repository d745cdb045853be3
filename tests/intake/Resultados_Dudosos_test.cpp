#include <filesystem>

#include "intake/Apoyo_Recepcion.h"
#include "intake/Recepcion.h"
#include "issuing_config/Intercambio_Timbrado.h"

namespace facturador::pruebas {
namespace {

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
    std::string Estados(int hasta) const {
        std::string estados;
        for (int id = 1; id <= hasta; ++id)
            estados += Solicitud(id, "Status");
        return estados;
    }
    // One cycle's intake, `segundos` after the last one.
    void Ciclo(long long segundos = 1) {
        entorno.reloj.Avanzar_Segundos(segundos);
        Reiniciar_Sentencias_Pendientes();
        Almacenar_Comprobantes_Pendientes();
        Ejecutar_Sentencias_Pendientes();
    }
};

// A result that is not its request's stamped invoice is not taken in and stays where it is: the
// request keeps its status, one line tells both values, the request is listed; once the result is
// put right it is taken in. A rejected request's result passes the same checks.
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
    Dejar(Ruta_XML(8), Con_Atributo(Cfdi_Para(8), "tfd:TimbreFiscalDigital", "UUID", ""));
    Dejar(Ruta_XML(9), Cfdi_Para(9));  // the RFC as typed: blanks and lower case aside
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET RFC = ' eku9003173c9' WHERE ID = 9");
    Ciclo();
    Ciclo(60);
    EXPECT_EQ(Estados(9), "222222223");
    EXPECT_EQ(Claves(Observadas().Discrepancias), "1 2 3 4 5 6 7 8 ");
    EXPECT_EQ(Documentos("ID_Factura"), "-9;-9;");
    EXPECT_TRUE(Existe_Archivo(Ruta_XML(5)) && Existe_Archivo(Ruta_PDF(5)));
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, "El resultado timbrado no corresponde a la solicitud"), 8);
    EXPECT_EQ(Veces(log,
                    "Solicitud ID: 5 - Ticket Nro. 4711 - Factura A-1505 - El resultado "
                    "timbrado no corresponde a la solicitud y no se tomó; sus archivos quedan "
                    "en su carpeta: Folio del XML '1501', de la solicitud '1505'\r\n"),
              1);
    EXPECT_EQ(Observadas().Discrepancias.at(7).Detalle,
              "Total del XML '116.51', del archivo para timbrar '116.50'");
    EXPECT_NE(Observadas().Discrepancias.at(3).Detalle.find("bien formado"), std::string::npos);

    Dejar(Ruta_XML(5), Cfdi_Para(5));
    Sembrar_Solicitud(10, {{"Status", "4"}, {"Folio", "1"}});
    Dejar_Timbrado(10);
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Folio = 2 WHERE ID = 10");
    Ciclo();
    Almacenar_Comprobantes_con_Errores_de_Timbrados();
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Solicitud(5, "Status") + Solicitud(10, "Status"), "34");
    EXPECT_EQ(Claves(Observadas().Discrepancias), "1 2 3 4 6 7 8 10 ");
    EXPECT_EQ(Observadas().Discrepancias.at(10).Status, 4);
}

// What the central database cannot hold keeps back its own request only: it stays in 2, is logged
// once and listed, and its result is not stored again cycle after cycle. A number its invoice
// column cannot hold is stored as that column's empty value, logged once, and the request
// completes.
TEST_F(Resultados_Dudosos, WhatTheDatabaseCannotHoldKeepsBackOnlyItsOwnRequest) {
    for (int id = 1; id <= 6; ++id)
        Sembrar_Solicitud(id);
    // The largest double: its amount, written with 15 digits, is beyond what the column holds.
    Ejecutar_Central(
        "UPDATE Solicitudes_de_Facturas_OL SET Total = 1.7976931348623157e308 WHERE ID = 3");
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Nro_Ticket = 666 WHERE ID = 6");
    for (int id = 1; id <= 6; ++id)
        Dejar_Timbrado(id);
    // Attributes the invoice row reads before the real ones (its reading ignores the case of
    // letters): a folio beyond 32 bits, a total beyond a double.
    const std::string fuera_de_rango =
        Con_Atributo(Cfdi_Para(1), "cfdi:Comprobante", "folio", "99999999999");
    Dejar(Ruta_XML(1), Con_Atributo(fuera_de_rango, "cfdi:Comprobante", "total", "1e400"));
    Dejar(Ruta_XML(2),
          Con_Atributo(Cfdi_Para(2), "tfd:TimbreFiscalDigital", "UUID",
                       "1E5A6E1B-9C1B-5319-BFED-123BD143A310-" + std::string(23, 'F')));
    Dejar(Ruta_PDF(5), std::string(17 * 1024 * 1024, '%'));  // the server takes 16 MiB packets
    {
        const Regla_Temporal regla("Montos_Facturados", "Nro_Ticket <> 666");
        Ciclo();
        EXPECT_EQ(Estados(6), "322322");
        EXPECT_EQ(Claves(Observadas().No_Almacenables), "2 3 5 6 ");
        Ciclo(60);
    }
    EXPECT_TRUE(Sentencias_Pendientes().empty()) << "nothing taken in again";
    EXPECT_EQ(Valor_Central("SELECT CONCAT(folio, ' ', total) FROM Facturas_Electronicas WHERE "
                            "ID_Factura = -1"),
              "0 0");
    EXPECT_EQ(Documentos("ID_Factura"), "-1;-1;-4;-4;-6;-6;");
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, "'99999999999' del comprobante timbrado no cabe en la columna folio"), 1);
    EXPECT_EQ(Veces(log, "'1e400' del comprobante timbrado no cabe en la columna total"), 1);
    for (int id : {2, 3, 5, 6})
        EXPECT_EQ(Veces(log, "Solicitud ID: " + std::to_string(id) + " - Ticket Nro."), 1) << log;
    EXPECT_NE(Observadas().No_Almacenables.at(2).Detalle.find("UUID admite 50 caracteres"),
              std::string::npos);
    EXPECT_NE(Observadas().No_Almacenables.at(3).Detalle.find("Montos_Facturados.Total"),
              std::string::npos);
    EXPECT_NE(Observadas().No_Almacenables.at(5).Detalle.find("max_allowed_packet"),
              std::string::npos);
    EXPECT_NE(Observadas().No_Almacenables.at(6).Detalle.find("regla_prueba"), std::string::npos);
    // Only the amount of a request that reached status 3 is told.
    EXPECT_EQ(Veces(log, "Se asentó el monto Facturado"), 2);
}

// A request in status 2 whose file to stamp is in none of its folders is logged once as stuck
// after 15 minutes, not before, and is no longer listed once its file is back.
TEST_F(Resultados_Dudosos, ARequestWithoutFileOrResultIsLoggedOnceAsStuck) {
    for (int id = 1; id <= 4; ++id)
        Sembrar_Solicitud(id);
    Dejar(Unir_Ruta(cola, "F1502.txt"), "publicado");
    Dejar(Unir_Ruta(cola, Nombre_Temporal_en_Cola("F1503.txt", 3)), "esperando su commit");
    Dejar(Ruta_PDF(4), "medio resultado");
    Ciclo(0);
    Ciclo(14 * 60 + 59);
    EXPECT_TRUE(Observadas().Atascadas.empty());
    Ciclo(1);
    EXPECT_EQ(Claves(Observadas().Atascadas), "1 ");
    Ciclo(60);
    EXPECT_EQ(Veces(Leer_Log(),
                    "Solicitud ID: 1 - Ticket Nro. 4711 - Factura A-1501 - Solicitud "
                    "detenida en status 2: sin archivo para timbrar ni resultado "
                    "desde 05/12/2026 10:15;"),
              1);
    EXPECT_EQ(Veces(Leer_Log(), "detenida"), 1);

    Dejar(Unir_Ruta(cola, "F1501.txt"), "encolado de nuevo");
    Ciclo(60);
    EXPECT_TRUE(Observadas().Atascadas.empty());
}

}  // namespace
}  // namespace facturador::pruebas

#include "cancellation/qt/frmCancelar_Factura.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "app/Apoyo_App.h"
#include "data/Sucursales.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Valores_Campo.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"

namespace facturador::pruebas {
namespace {

constexpr const char* kUUID = "6F1A2B3C-4D5E-4F60-8A7B-9C0D1E2F3A4B";

std::string Literal(const std::string& texto) {
    return "'" + Escapar_Central(texto) + "'";
}

// Branch 3 "Centro" with its queue folder, ticket 4711 invoiced twice (invoice A-1500, stamped,
// and A-1501), and the amounts of that ticket, of another ticket and of the same ticket number
// in branch 4.
class Cancelar_Factura : public testing::Test {
  protected:
    void SetUp() override {
        Vaciar_Base_Central();
        cola = Unir_Ruta(entorno.Carpeta(), "cola");
        std::filesystem::create_directories(cola);
        Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (3, 'Centro'), (4, 'Norte')");
        Poner_Cola(cola);
        Sembrar_Factura(-1, "'A'", 1500, "4711", "2", Literal(kUUID), "'ALT150312AB1'");
        Sembrar_Factura(-2, "'A'", 1501, "4711", "2", "'otro-uuid'", "'ALT150312AB1'");
        Ejecutar_Central(
            "INSERT INTO Tickets (Numero, ID_Sucursal, Total, Se_dio_Factura) VALUES "
            "(4711, 3, 116, 1), (4712, 3, 50, 1), (4711, 4, 80, 1), (0, 3, 10, 1)");
        Ejecutar_Central(
            "INSERT INTO Montos_Facturados (Nro_Ticket, ID_Sucursal, Total) VALUES "
            "(4711, 3, 60), (4711, 3, 56), (4712, 3, 50), (4711, 4, 80), (0, 3, 10)");
        Cargar_Sucursales();
        ventana.show();
        ventana.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
    }

    void Poner_Cola(const std::string& carpeta) {
        Ejecutar_Central("DELETE FROM Configuracion_Facturas_Electronicas");
        Ejecutar_Central(
            "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, Ruta_Cola_Facturas) "
            "VALUES (3, " +
            Literal(Ruta_Para_BD(carpeta)) + ")");
        Cargar_Datos_de_Emision();
    }

    static void Sembrar_Factura(int id, const std::string& serie, int folio,
                                const std::string& ticket, const std::string& status,
                                const std::string& uuid, const std::string& rfc) {
        Ejecutar_Central(
            "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, Nro_Ticket, Status, "
            "UUID, rfc_emisor, ID_Sucursal, Comentario) VALUES (" +
            std::to_string(id) + ", " + serie + ", " + std::to_string(folio) + ", " + ticket +
            ", " + status + ", " + uuid + ", " + rfc + ", 3, 'Timbrada')");
    }

    QLineEdit* Caja(const char* nombre) {
        auto* caja = ventana.findChild<QLineEdit*>(nombre);
        EXPECT_NE(caja, nullptr) << nombre;
        return caja;
    }
    QString Etiqueta(const char* nombre) { return ventana.findChild<QLabel*>(nombre)->text(); }

    void Escribir(const QString& serie, const QString& nro, const QString& motivo) {
        Caja("txtSerie")->setText(serie);
        Caja("txtNro")->setText(nro);
        Caja("txtMotivo")->setText(motivo);
    }
    void Aceptar() {
        QTest::mouseClick(ventana.findChild<QPushButton*>("cmdAceptar"), Qt::LeftButton);
    }

    // The texts shown to the operator, one "title / message" each.
    std::vector<std::string> Mostrado() const {
        std::vector<std::string> textos;
        for (const auto& m : entorno.operador.mostrados)
            textos.push_back(m.tipo + ": " + m.titulo + " / " + m.texto);
        return textos;
    }

    std::string Status(int id) const {
        return Valor_Central("SELECT Status FROM Facturas_Electronicas WHERE ID_Factura = " +
                             std::to_string(id));
    }
    // Se_dio_Factura of the tickets by branch and number, then Status of the amounts as seeded.
    static std::string Tickets_y_Montos() {
        std::string estado;
        Recordset t =
            Consultar_Central("SELECT Se_dio_Factura FROM Tickets ORDER BY ID_Sucursal, Numero");
        for (t.Mover_Primero(); !t.Fin(); t.Mover_Siguiente())
            estado += t.Texto(size_t{0});
        estado += "|";
        Recordset m = Consultar_Central("SELECT Status FROM Montos_Facturados ORDER BY ID");
        for (m.Mover_Primero(); !m.Fin(); m.Mover_Siguiente())
            estado += m.Texto(size_t{0});
        return estado;
    }
    std::string Archivo(const std::string& nombre) const { return Unir_Ruta(cola, nombre); }

    void Esperar_Sin_Cambios() const {
        EXPECT_EQ(Status(-1), "2");
        EXPECT_EQ(Tickets_Iniciales, Tickets_y_Montos());
        EXPECT_TRUE(std::filesystem::is_empty(cola));
    }
    void Esperar_Conservada() {
        EXPECT_EQ(Caja("txtSerie")->text(), "A");
        EXPECT_EQ(Caja("txtNro")->text(), "1500");
        EXPECT_FALSE(Caja("txtMotivo")->text().isEmpty());
    }
    void Esperar_Limpia() {
        for (const char* caja : {"txtSerie", "txtNro", "txtMotivo"})
            EXPECT_TRUE(Caja(caja)->text().isEmpty()) << caja;
        EXPECT_TRUE(Etiqueta("lblUUID").isEmpty());
        EXPECT_EQ(Etiqueta("lblTicket"), "0");
        EXPECT_EQ(ventana.focusWidget(), Caja("txtSerie"));
    }

    const std::string Tickets_Iniciales = "1111|00000";
    Entorno_Pruebas entorno;
    std::string cola;
    frmCancelar_Factura ventana;
};

TEST_F(Cancelar_Factura, TypedSeriesIsUpperCaseFolioDigitsOnlyAndEnterMovesOn) {
    entorno.operador.respuestas = {true};
    QTest::keyClicks(Caja("txtSerie"), "a");
    QTest::keyClick(Caja("txtSerie"), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(ventana.focusWidget(), Caja("txtNro"));
    QTest::keyClicks(Caja("txtNro"), "15x0 0");
    QTest::keyClick(Caja("txtNro"), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(ventana.focusWidget(), Caja("txtMotivo"));
    QTest::keyClicks(Caja("txtMotivo"), "Error en RFC");
    QTest::keyClick(Caja("txtMotivo"), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(Caja("txtSerie")->text(), "A");
    EXPECT_EQ(Caja("txtNro")->text(), "1500");
    EXPECT_EQ(Caja("txtMotivo")->text(), "Error en RFC");
    EXPECT_TRUE(entorno.operador.mostrados.empty()) << "Enter must not press Aceptar from a box";

    // Enter on the focused button cancels.
    EXPECT_EQ(ventana.focusWidget(), ventana.findChild<QPushButton*>("cmdAceptar"));
    QTest::keyClick(ventana.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Mostrado(), (std::vector<std::string>{
                              "confirmacion: ATENCION / Se cancelará la Factura Serie: A   Folio: "
                              "1500  Emitido por la sucursal: Centro",
                              "advertencia: ATENCION / Se inició el proceso de Cancelación de la "
                              "factura ingresada."}));
    EXPECT_EQ(Leer_Archivo(Archivo("Cancelar_A1500.xml")),
              std::string("ALT150312AB1|") + kUUID + "\r\n");
    EXPECT_EQ(Status(-1), "3");
    EXPECT_EQ(Status(-2), "2");
    EXPECT_EQ(Valor_Central("SELECT Comentario FROM Facturas_Electronicas WHERE ID_Factura = -1"),
              "Timbrada     Cancelada el: 05-12-26, Motivo: Error en RFC");
    // Both amounts of ticket 4711 in branch 3 are void and the ticket is free again.
    EXPECT_EQ(Tickets_y_Montos(), "1011|11000");
    Esperar_Limpia();
}

TEST_F(Cancelar_Factura, MissingSeriesOrFolioClearsThatBox) {
    Escribir("   ", "1500", "Motivo");
    Aceptar();
    EXPECT_EQ(Mostrado(), (std::vector<std::string>{
                              "advertencia: No se puede proceder con la cancelación / Favor de "
                              "ingresar la Serie de la Factura a cancelar."}));
    EXPECT_TRUE(Caja("txtSerie")->text().isEmpty());
    EXPECT_EQ(ventana.focusWidget(), Caja("txtSerie"));

    entorno.operador.mostrados.clear();
    Escribir("A", "  ", "Motivo");
    Aceptar();
    EXPECT_EQ(Mostrado(), (std::vector<std::string>{
                              "advertencia: No se puede proceder con la cancelación / Favor de "
                              "ingresar el Folio de la Factura a cancelar."}));
    EXPECT_TRUE(Caja("txtNro")->text().isEmpty());
    EXPECT_EQ(ventana.focusWidget(), Caja("txtNro"));
    EXPECT_EQ(Caja("txtMotivo")->text(), "Motivo");
    Esperar_Sin_Cambios();
}

TEST_F(Cancelar_Factura, MissingReasonOrUnknownInvoiceKeepsTheInput) {
    Escribir("A", "1500", " ");
    Aceptar();
    EXPECT_EQ(ventana.focusWidget(), Caja("txtMotivo"));
    Escribir("A", "1500", "Motivo");
    Caja("txtNro")->setText("999");
    Aceptar();
    EXPECT_EQ(Mostrado(),
              (std::vector<std::string>{
                  "advertencia: No se puede Cancelar la Factura / Favor de especificar el "
                  "Motivo por el cual se cancelará la Factura.",
                  "advertencia: No se puede Cancelar la Factura / No existe Factura emitida con "
                  "los datos ingresados, favor de verificar."}));
    EXPECT_EQ(Caja("txtNro")->text(), "999");
    EXPECT_EQ(ventana.focusWidget(), Caja("txtSerie"));
    Esperar_Sin_Cambios();
}

TEST_F(Cancelar_Factura, AlreadyCancelledInvoiceIsCancelledAgainAfterTheNotice) {
    Ejecutar_Central("UPDATE Facturas_Electronicas SET Status = 3 WHERE ID_Factura = -1");
    entorno.operador.respuestas = {true};
    Escribir("A", "1500", "Otra vez");
    Aceptar();
    ASSERT_EQ(Mostrado().size(), 3u);
    EXPECT_EQ(Mostrado()[0],
              "advertencia: Atención / La factura ya está cancelada en sistema y se intentará "
              "cancelar ante el SAT.");
    EXPECT_EQ(entorno.operador.mostrados[1].tipo, "confirmacion");
    EXPECT_EQ(entorno.operador.mostrados[2].texto,
              "Se inició el proceso de Cancelación de la factura ingresada.");
    EXPECT_TRUE(Existe_Archivo(Archivo("Cancelar_A1500.xml")));
    EXPECT_EQ(Tickets_y_Montos(), "1011|11000");
}

TEST_F(Cancelar_Factura, RefusalsAndDeclinedConfirmationClearWithoutTheClosingNotice) {
    Ejecutar_Central("UPDATE Facturas_Electronicas SET rfc_emisor = NULL WHERE ID_Factura = -1");
    Ejecutar_Central("UPDATE Facturas_Electronicas SET UUID = '' WHERE ID_Factura = -2");
    Escribir("A", "1500", "Motivo");
    Aceptar();
    Esperar_Limpia();
    Escribir("A", "1501", "Motivo");
    Aceptar();
    Esperar_Limpia();
    Ejecutar_Central("UPDATE Facturas_Electronicas SET rfc_emisor = 'ALT150312AB1'");
    entorno.operador.respuestas = {false};
    Escribir("A", "1500", "Motivo");
    Aceptar();
    Esperar_Limpia();
    EXPECT_EQ(Mostrado(), (std::vector<std::string>{
                              "advertencia: No se puede realizar la cacenlación / La factura "
                              "seleccionada no tiene RFC del emisor, favor de verificar.",
                              "advertencia: No se puede realizar la cacenlación / La factura "
                              "seleccionada no tiene el código único UUID, favor de verificar.",
                              "confirmacion: ATENCION / Se cancelará la Factura Serie: A   "
                              "Folio: 1500  Emitido por la sucursal: Centro"}));
    Esperar_Sin_Cambios();
}

TEST_F(Cancelar_Factura, InvoiceWithoutTicketTouchesOnlyTheInvoice) {
    Sembrar_Factura(-3, "'B'", 7, "0", "2", "'u-0'", "'ALT150312AB1'");
    Sembrar_Factura(-4, "'B'", 8, "NULL", "2", "'u-n'", "'ALT150312AB1'");
    entorno.operador.respuestas = {true, true};
    Escribir("B", "7", "Sin ticket");
    Aceptar();
    Escribir("B", "008", "Sin ticket");
    Aceptar();
    EXPECT_EQ(Status(-3), "3");
    EXPECT_EQ(Status(-4), "3");
    EXPECT_EQ(Tickets_y_Montos(), Tickets_Iniciales);
    // The file takes the folio as typed; the look-up, its number.
    EXPECT_EQ(Leer_Archivo(Archivo("Cancelar_B008.xml")), "ALT150312AB1|u-n\r\n");
}

TEST_F(Cancelar_Factura, EarlierReadOnlyFileIsReplacedAndTheLineIsWindows1252) {
    Ejecutar_Central(
        "UPDATE Facturas_Electronicas SET rfc_emisor = 'MUÑ010101AB€' WHERE "
        "ID_Factura = -1");
    Escribir_Archivo(Archivo("Cancelar_A1500.xml"), "contenido anterior, mucho más largo\r\n");
    Poner_Solo_Lectura(Archivo("Cancelar_A1500.xml"));
    entorno.operador.respuestas = {true};
    Escribir("A", "1500", "Motivo");
    Aceptar();
    EXPECT_EQ(Leer_Archivo(Archivo("Cancelar_A1500.xml")),
              std::string("MU\xD1") + "010101AB\x80|" + kUUID + "\r\n");
}

TEST_F(Cancelar_Factura, QuotesAndBackslashesAreLookedUpAndStoredAsTyped) {
    Sembrar_Factura(-5, Literal("Q'\\"), 9, "4712", "2", "'u-q'", "'ALT150312AB1'");
    entorno.operador.respuestas = {true};
    Escribir("Q'\\", "9", "Cliente 'O\\Brien'");
    Aceptar();
    EXPECT_EQ(Status(-5), "3");
    EXPECT_EQ(Valor_Central("SELECT Comentario FROM Facturas_Electronicas WHERE ID_Factura = -5"),
              "Timbrada     Cancelada el: 05-12-26, Motivo: Cliente 'O\\Brien'");
    EXPECT_TRUE(Existe_Archivo(Archivo("Cancelar_Q'\\9.xml")));
    EXPECT_EQ(Tickets_y_Montos(), "1101|00100");
}

TEST_F(Cancelar_Factura, FolioBeyond32BitsOrNameLeavingTheQueueIsRefused) {
    Escribir("A", "99999999999", "Motivo");
    Aceptar();
    EXPECT_EQ(ventana.focusWidget(), Caja("txtNro"));
    Escribir("../A", "1500", "Motivo");
    Aceptar();
    Escribir("A", "1500/../../x", "Motivo");
    Aceptar();
    EXPECT_EQ(
        Mostrado(),
        (std::vector<std::string>{
            "advertencia: No se puede proceder con la cancelación / El Folio ingresado es mayor "
            "que el máximo permitido (2147483647), favor de verificar.",
            "advertencia: No se puede proceder con la cancelación / La Serie y el Folio de la "
            "Factura a cancelar no pueden contener el carácter \"/\", favor de verificar.",
            "advertencia: No se puede proceder con la cancelación / La Serie y el Folio de la "
            "Factura a cancelar no pueden contener el carácter \"/\", favor de verificar."}));
    EXPECT_EQ(Caja("txtNro")->text(), "1500/../../x");
    Esperar_Sin_Cambios();
}

TEST_F(Cancelar_Factura, BranchWithoutQueueFolderGetsNoFileAndNoUpdate) {
    Poner_Cola("");
    entorno.operador.respuestas = {true};
    Escribir("A", "1500", "Motivo");
    Aceptar();
    ASSERT_EQ(Mostrado().size(), 1u);
    EXPECT_EQ(entorno.operador.mostrados[0].titulo, "No se realizó la cancelación");
    EXPECT_FALSE(Existe_Archivo("/Cancelar_A1500.xml"));
    Esperar_Conservada();
    Esperar_Sin_Cambios();
}

TEST_F(Cancelar_Factura, FailuresAreReportedAndLeaveNothingHalfDone) {
    entorno.operador.respuestas = {true, true};
    Poner_Cola(Unir_Ruta(cola, "no_existe"));
    Escribir("A", "1500", "Motivo");
    Aceptar();
    Esperar_Conservada();
    Poner_Cola(cola);
    {
        Tabla_Retirada montos("Montos_Facturados");
        Aceptar();
    }
    Esperar_Conservada();
    const auto mostrados = entorno.operador.De_Tipo("advertencia");
    ASSERT_EQ(mostrados.size(), 2u);
    for (const auto& m : mostrados) {
        EXPECT_EQ(m.titulo, "Se produjo un error");
        EXPECT_EQ(m.texto.rfind("No se pudo cancelar la factura; no se realizó ningún cambio. "
                                "Detalle: ",
                                0),
                  0u)
            << m.texto;
    }
    Esperar_Sin_Cambios();
}

}  // namespace
}  // namespace facturador::pruebas

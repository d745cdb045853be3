#include "cancellation/qt/frmCancelar_Factura.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "apoyo/Bd_Central.h"
#include "apoyo/Proxy_Central.h"
#include "apoyo/Siembra.h"
#include "apoyo/qt/Servidor_Colgado.h"
#include "apoyo/qt/Ventanas.h"
#include "data/Sucursales.h"
#include "data/Valores_Campo.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {
namespace {

constexpr const char* kUUID = "6F1A2B3C-4D5E-4F60-8A7B-9C0D1E2F3A4B";

// Branch 3 "Centro" with its queue folder; ticket 4711 invoiced twice (A-1500 and A-1501, both
// stamped); amounts of that ticket, of ticket 4712, of ticket 4711 in branch 4 and of ticket 0.
class Cancelar_Factura : public testing::Test {
  protected:
    void SetUp() override {
        Vaciar_Base_Central();
        std::filesystem::create_directories(cola);
        Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (3, 'Centro'), (4, 'Norte')");
        Poner_Cola(cola);
        Sembrar_Factura(-1, "'A'", 1500, "4711", Literal(kUUID));
        Sembrar_Factura(-2, "'A'", 1501, "4711", "'otro-uuid'");
        Ejecutar_Central(
            "INSERT INTO Tickets (Numero, ID_Sucursal, Total, Se_dio_Factura) VALUES "
            "(4711, 3, 116, 1), (4712, 3, 50, 1), (4711, 4, 80, 1), (0, 3, 10, 1)");
        Ejecutar_Central(
            "INSERT INTO Montos_Facturados (Nro_Ticket, ID_Sucursal, Total) VALUES "
            "(4711, 3, 60), (4711, 3, 56), (4712, 3, 50), (4711, 4, 80), (0, 3, 10)");
        Cargar_Sucursales();
        ASSERT_TRUE(Mostrar_Ventana(ventana));
    }

    static void Poner_Cola(const std::string& carpeta) {
        Ejecutar_Central("DELETE FROM Configuracion_Facturas_Electronicas");
        Sembrar_Fila(
            "Configuracion_Facturas_Electronicas",
            {{"ID_Sucursal", "3"}, {"Ruta_Cola_Facturas", Literal(Ruta_Para_BD(carpeta))}});
        Cargar_Datos_de_Emision();
    }

    // A stamped invoice of branch 3; `serie`, `ticket` and `uuid` as SQL literals.
    static void Sembrar_Factura(int id, const std::string& serie, int folio,
                                const std::string& ticket, const std::string& uuid) {
        Ejecutar_Central(
            "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, Nro_Ticket, Status, "
            "UUID, rfc_emisor, ID_Sucursal, Comentario) VALUES (" +
            std::to_string(id) + ", " + serie + ", " + std::to_string(folio) + ", " + ticket +
            ", 2, " + uuid + ", 'ALT150312AB1', 3, 'Timbrada')");
    }

    QLineEdit* Caja(const char* nombre) const { return Control_De<QLineEdit>(ventana, nombre); }
    void Aceptar() { QTest::mouseClick(Control_De(ventana, "cmdAceptar"), Qt::LeftButton); }
    void Aceptar(const QString& serie, const QString& nro, const QString& motivo) {
        Caja("txtSerie")->setText(serie);
        Caja("txtNro")->setText(nro);
        Caja("txtMotivo")->setText(motivo);
        Aceptar();
    }

    // What the operator was shown, in order: each "kind: title / text" holds its fragment.
    void Esperar_Mostrado(const std::vector<std::string>& fragmentos) const {
        const auto textos = entorno.operador.Textos();
        ASSERT_EQ(textos.size(), fragmentos.size());
        for (size_t i = 0; i < textos.size(); ++i)
            EXPECT_TRUE(Contiene(textos[i], fragmentos[i])) << textos[i];
    }

    static std::string Factura(int id, const char* columna) {
        return Valor_Central(
            std::string("SELECT ") + columna +
            " FROM Facturas_Electronicas WHERE ID_Factura = " + std::to_string(id));
    }
    // Se_dio_Factura of the tickets by branch and number, then Status of the amounts as seeded.
    static std::string Tickets_y_Montos() {
        return Valor_Central(
            "SELECT CONCAT((SELECT GROUP_CONCAT(Se_dio_Factura ORDER BY ID_Sucursal, Numero "
            "SEPARATOR '') FROM Tickets), '|', (SELECT GROUP_CONCAT(Status ORDER BY ID SEPARATOR "
            "'') FROM Montos_Facturados))");
    }
    std::string Archivo(const std::string& nombre) const { return Unir_Ruta(cola, nombre); }

    void Esperar_Sin_Cambios() const {
        EXPECT_EQ(Factura(-1, "Status"), "2");
        EXPECT_EQ(Tickets_y_Montos(), kIniciales);
        EXPECT_TRUE(std::filesystem::is_empty(cola));
    }
    void Esperar_Conservada() const {
        EXPECT_EQ(Caja("txtSerie")->text() + Caja("txtNro")->text() + Caja("txtMotivo")->text(),
                  "A1500Motivo");
    }
    void Esperar_Limpia() const {
        for (const char* caja : {"txtSerie", "txtNro", "txtMotivo"})
            EXPECT_TRUE(Caja(caja)->text().isEmpty()) << caja;
        EXPECT_TRUE(Control_De<QLabel>(ventana, "lblUUID")->text().isEmpty());
        EXPECT_EQ(Control_De<QLabel>(ventana, "lblTicket")->text(), "0");
        EXPECT_EQ(ventana.focusWidget(), Caja("txtSerie"));
    }

    static constexpr const char* kIniciales = "1111|00000";
    static constexpr const char* kSin_Cambios =
        "Se produjo un error / No se pudo cancelar la factura; no se realizó ningún cambio. "
        "Detalle: ";
    const std::string linea = std::string("ALT150312AB1|") + kUUID + "\r\n";
    Entorno_Pruebas entorno;
    const std::string cola = Unir_Ruta(entorno.Carpeta(), "cola");
    frmCancelar_Factura ventana;
};

// The series is typed upper case, the folio digits only (keypad's too); Enter in a box moves on,
// on the button it presses it. The cancellation writes the queue file, marks the invoice, voids
// both amounts of its ticket (invoiced twice) and frees the ticket.
TEST_F(Cancelar_Factura, TypedSeriesIsUpperCaseFolioDigitsOnlyAndEnterMovesOn) {
    entorno.operador.respuestas = {true};
    Teclear_Y_Enter(Caja("txtSerie"), "a");
    EXPECT_EQ(ventana.focusWidget(), Caja("txtNro"));
    Caja("txtNro")->setFocus();
    QTest::keyClicks(Caja("txtNro"), "915x0 -.7");
    QTest::keyClick(Caja("txtNro"), Qt::Key_Backspace);
    QTest::keyClick(Caja("txtNro"), Qt::Key_0, Qt::KeypadModifier);
    QTest::keyClick(Caja("txtNro"), Qt::Key_Home);
    QTest::keyClick(Caja("txtNro"), Qt::Key_Delete);
    Teclear_Y_Enter(Caja("txtNro"));
    EXPECT_EQ(ventana.focusWidget(), Caja("txtMotivo"));
    Teclear_Y_Enter(Caja("txtMotivo"), "Error en RFC");
    EXPECT_EQ(Caja("txtSerie")->text() + "|" + Caja("txtNro")->text(), "A|1500");
    EXPECT_TRUE(entorno.operador.mostrados.empty()) << "Enter must not press Aceptar from a box";

    ASSERT_EQ(ventana.focusWidget(), Control_De(ventana, "cmdAceptar"));
    QTest::keyClick(ventana.focusWidget(), Qt::Key_Return);
    Esperar_Mostrado(
        {"confirmacion: ATENCION / Se cancelará la Factura Serie: A   Folio: 1500  "
         "Emitido por la sucursal: Centro",
         "advertencia: ATENCION / Se inició el proceso de Cancelación"});
    EXPECT_EQ(Leer_Archivo(Archivo("Cancelar_A1500.xml")), linea);
    EXPECT_EQ(Factura(-1, "Status") + Factura(-2, "Status"), "32");
    EXPECT_EQ(Factura(-1, "Comentario"),
              "Timbrada     Cancelada el: 05-12-26, Motivo: Error en RFC");
    EXPECT_EQ(Tickets_y_Montos(), "1011|11000");
    Esperar_Limpia();
}

// Each check refuses in its turn and nothing is written: an empty series or folio is cleared and
// takes the focus; a missing reason, an unknown invoice, a folio beyond 32 bits or a name leaving
// the queue folder keep what was typed.
TEST_F(Cancelar_Factura, ChecksBeforeTheLookUpRefuseAndWriteNothing) {
    Aceptar("   ", "1500", "Motivo");
    EXPECT_TRUE(Caja("txtSerie")->text().isEmpty());
    EXPECT_EQ(ventana.focusWidget(), Caja("txtSerie"));
    Aceptar("A", "  ", "Motivo");
    EXPECT_TRUE(Caja("txtNro")->text().isEmpty());
    EXPECT_EQ(ventana.focusWidget(), Caja("txtNro"));
    EXPECT_EQ(Caja("txtMotivo")->text(), "Motivo");
    Aceptar("A", "1500", " ");
    EXPECT_EQ(ventana.focusWidget(), Caja("txtMotivo"));
    Aceptar("A", "999", "Motivo");
    EXPECT_EQ(Caja("txtNro")->text(), "999");
    EXPECT_EQ(ventana.focusWidget(), Caja("txtSerie"));
    Aceptar("A", "99999999999", "Motivo");
    EXPECT_EQ(ventana.focusWidget(), Caja("txtNro"));
    Aceptar("../A", "1500", "Motivo");
    Aceptar("A", "1500/../../x", "Motivo");
    EXPECT_EQ(Caja("txtNro")->text(), "1500/../../x");
    Esperar_Mostrado({"proceder con la cancelación / Favor de ingresar la Serie",
                      "proceder con la cancelación / Favor de ingresar el Folio",
                      "No se puede Cancelar la Factura / Favor de especificar el Motivo",
                      "No se puede Cancelar la Factura / No existe Factura emitida",
                      "proceder con la cancelación / El Folio ingresado es mayor que el máximo "
                      "permitido (2147483647)",
                      "no pueden contener el carácter \"/\"", "no pueden contener el carácter"});
    Esperar_Sin_Cambios();
}

// No issuer's RFC or no UUID refuses, a declined confirmation writes nothing; all three clear the
// form. One already cancelled is cancelled again after a notice, replacing an earlier read-only
// file with its line in Windows-1252.
TEST_F(Cancelar_Factura, RefusalsClearTheFormAndAnAlreadyCancelledInvoiceGoesOn) {
    Ejecutar_Central("UPDATE Facturas_Electronicas SET rfc_emisor = NULL WHERE ID_Factura = -1");
    Ejecutar_Central("UPDATE Facturas_Electronicas SET UUID = '' WHERE ID_Factura = -2");
    Aceptar("A", "1500", "Motivo");
    Esperar_Limpia();
    Aceptar("A", "1501", "Motivo");
    Esperar_Limpia();
    Ejecutar_Central("UPDATE Facturas_Electronicas SET rfc_emisor = 'MUÑ010101AB€'");
    entorno.operador.respuestas = {false, true};
    Aceptar("A", "1500", "Motivo");
    Esperar_Limpia();
    Esperar_Sin_Cambios();

    Ejecutar_Central("UPDATE Facturas_Electronicas SET Status = 3 WHERE ID_Factura = -1");
    Escribir_Archivo(Archivo("Cancelar_A1500.xml"), "contenido anterior, mucho más largo\r\n");
    Poner_Solo_Lectura(Archivo("Cancelar_A1500.xml"));
    Aceptar("A", "1500", "Otra vez");
    Esperar_Mostrado({"no tiene RFC del emisor", "no tiene el código único UUID",
                      "confirmacion: ATENCION / Se cancelará la Factura",
                      "advertencia: Atención / La factura ya está cancelada en sistema y se "
                      "intentará cancelar ante el SAT.",
                      "confirmacion: ", "Se inició el proceso de Cancelación"});
    EXPECT_EQ(Leer_Archivo(Archivo("Cancelar_A1500.xml")),
              std::string("MU\xD1") + "010101AB\x80|" + kUUID + "\r\n");
    EXPECT_EQ(Factura(-1, "Status"), "3");
    EXPECT_EQ(Tickets_y_Montos(), "1011|11000");
}

// Ticket 0 or none touches only the invoice; another ticket voids only its own amounts. The file
// takes the folio as typed, the look-up its number; quotes and backslashes kept as typed.
TEST_F(Cancelar_Factura, OnlyTheInvoicesTicketIsFreedAndTextsAreStoredAsTyped) {
    Sembrar_Factura(-3, "'B'", 7, "0", "'u-0'");
    Sembrar_Factura(-4, "'B'", 8, "NULL", "'u-n'");
    Sembrar_Factura(-5, Literal("Q'\\"), 9, "4712", "'u-q'");
    entorno.operador.respuestas = {true, true, true};
    Aceptar("B", "7", "Sin ticket");
    Aceptar("B", "008", "Sin ticket");
    EXPECT_EQ(Factura(-3, "Status") + Factura(-4, "Status"), "33");
    EXPECT_EQ(Tickets_y_Montos(), kIniciales);
    EXPECT_EQ(Leer_Archivo(Archivo("Cancelar_B008.xml")), "ALT150312AB1|u-n\r\n");

    Aceptar("Q'\\", "9", "Cliente 'O\\Brien'");
    EXPECT_EQ(Factura(-5, "Status"), "3");
    EXPECT_EQ(Factura(-5, "Comentario"),
              "Timbrada     Cancelada el: 05-12-26, Motivo: Cliente 'O\\Brien'");
    EXPECT_TRUE(Existe_Archivo(Archivo("Cancelar_Q'\\9.xml")));
    EXPECT_EQ(Tickets_y_Montos(), "1101|00100");
}

// A branch without a queue folder gets no file (never one at the root), a file that cannot be
// written or a failing database change nothing; the input stays for another try.
TEST_F(Cancelar_Factura, NoQueueFolderOrAFailureLeavesNothingHalfDone) {
    Poner_Cola("");
    entorno.operador.respuestas = {true, true};
    Aceptar("A", "1500", "Motivo");
    EXPECT_FALSE(Existe_Archivo("/Cancelar_A1500.xml"));
    Esperar_Conservada();
    Poner_Cola(Unir_Ruta(cola, "no_existe"));
    Aceptar();
    Esperar_Conservada();
    Poner_Cola(cola);
    {
        Tabla_Ausente montos("Montos_Facturados");
        Aceptar();
    }
    Esperar_Conservada();
    Esperar_Mostrado({"No se realizó la cancelación / ", "confirmacion: ", kSin_Cambios,
                      "confirmacion: ", kSin_Cambios});
    Esperar_Sin_Cambios();
}

// While the server hangs on a statement of the cancellation (the look-up, the reading of the
// invoice, its status) the program's events still turn and the busy window takes nothing in (a
// second Aceptar, a key, Esc, closing). A dropped connection is told, nothing changed, the input
// stays; the next Aceptar cancels.
TEST_F(Cancelar_Factura, AHungServerNeitherFreezesNorLetsTheWindowActTwice) {
    const std::string falla = kSin_Cambios + std::string("Lost connection to server during query");
    for (const auto& [inicio, confirma] : std::vector<std::pair<const char*, bool>>{
             {"SELECT Nro_Ticket", false},
             {"SELECT ID_Sucursal", false},
             {"UPDATE Facturas_Electronicas", true}}) {
        entorno.operador.mostrados.clear();
        entorno.operador.respuestas = {true, true};
        bool ocupada = false, abierta = false, pintada = false;
        QLineEdit otra;  // another window of the program
        otra.show();
        const bool colgado =
            Con_Servidor_Colgado(inicio, [&] { Aceptar("A", "1500", "Motivo"); }, [&] {
                ocupada = ventana.cursor().shape() == Qt::BusyCursor;
                // Still drawn: its boxes and texts, not only the window's background.
                const QImage imagen = ventana.grab().toImage();
                pintada = imagen.pixel(0, 0) != imagen.pixel(Caja("txtMotivo")->geometry().center());
                Aceptar();
                QTest::keyClicks(Caja("txtMotivo"), "x");
                QTest::keyClick(&ventana, Qt::Key_Escape);
                ventana.close();
                abierta = ventana.isVisible();
                QTest::keyClicks(&otra, "y");
            });
        EXPECT_TRUE(colgado && ocupada && abierta && pintada) << inicio;
        EXPECT_EQ(otra.text(), "y") << inicio;
        EXPECT_NE(ventana.cursor().shape(), Qt::BusyCursor) << inicio;
        if (confirma)
            Esperar_Mostrado({"confirmacion: ATENCION / Se cancelará la Factura", falla});
        else
            Esperar_Mostrado({falla});
        Esperar_Conservada();
        Esperar_Sin_Cambios();
    }
    entorno.operador.respuestas = {true};
    Aceptar();
    EXPECT_EQ(Factura(-1, "Status"), "3");
    EXPECT_TRUE(Existe_Archivo(Archivo("Cancelar_A1500.xml")));
    Esperar_Limpia();
}

// The request file is put before the commit: a cut at the commit (before or after the server
// committed) leaves it and asks to cancel again, a cut before it (at the ticket) leaves nothing.
// Never a cancelled invoice without its request; cancelling again always completes.
TEST_F(Cancelar_Factura, ACutConnectionNeverLeavesACancelledInvoiceWithoutItsRequest) {
    using enum Proxy_Central::Corte;
    const std::string sin_registrar =
        "Se produjo un error / La solicitud de cancelación quedó en la carpeta del programa de "
        "timbrado, pero la cancelación no se pudo registrar en el sistema. Favor de volver a "
        "cancelar la factura. Detalle: ";
    for (const auto& [inicio, corte, queda_archivo, cancelada] :
         std::vector<std::tuple<const char*, Proxy_Central::Corte, bool, bool>>{
             {"UPDATE Tickets", Antes_de_Ejecutar, false, false},
             {"COMMIT", Antes_de_Ejecutar, true, false},
             {"COMMIT", Sin_Respuesta, true, true}}) {
        Ejecutar_Central("UPDATE Facturas_Electronicas SET Status = 2, Comentario = 'Timbrada'");
        Ejecutar_Central("UPDATE Tickets SET Se_dio_Factura = 1");
        Ejecutar_Central("UPDATE Montos_Facturados SET Status = 0");
        std::filesystem::remove(Archivo("Cancelar_A1500.xml"));
        entorno.operador.mostrados.clear();
        entorno.operador.respuestas = {true};
        {
            const Proxy_Central proxy(inicio, corte);
            Aceptar("A", "1500", "Motivo");
            EXPECT_TRUE(proxy.Cortado()) << inicio;
        }
        Esperar_Mostrado({"confirmacion: ", queda_archivo ? sin_registrar : kSin_Cambios});
        EXPECT_EQ(Existe_Archivo(Archivo("Cancelar_A1500.xml")), queda_archivo) << inicio;
        EXPECT_EQ(Factura(-1, "Status") + Tickets_y_Montos(),
                  cancelada ? "31011|11000" : std::string("2") + kIniciales)
            << inicio;
        Esperar_Conservada();

        entorno.operador.respuestas = {true};
        Aceptar();
        EXPECT_EQ(Factura(-1, "Status") + Tickets_y_Montos(), "31011|11000") << inicio;
        EXPECT_EQ(Leer_Archivo(Archivo("Cancelar_A1500.xml")), linea) << inicio;
        Esperar_Limpia();
    }
}

}  // namespace
}  // namespace facturador::pruebas

#include "issuing_config/qt/frmConfiguracion_Facturas.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <memory>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "app/Apoyo_App.h"
#include "data/Sucursales.h"
#include "issuing_config/Cajas_Perfil.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Mensaje_Email.h"

namespace facturador::pruebas {
namespace {

const char kSep = std::filesystem::path::preferred_separator;

// Branches "Centro" (3, its state not in the list), "Sur" (7, a full profile) and "Sin perfil"
// (9, no row), and two rows in the central Configuracion.
class Configuracion_Facturas : public testing::Test {
  protected:
    void SetUp() override {
        Vaciar_Base_Central();
        Reiniciar_Datos_de_Emision();
        Reiniciar_Mensaje_Facturacion_Email();
        Ejecutar_Central(
            "INSERT INTO Sucursales (ID, Nombre) VALUES (3, 'Centro'), (7, 'Sur'), (9, 'Sin "
            "perfil')");
        Ejecutar_Central(
            "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, Estado, "
            "Estado_Domicilio_Expedicion, Folio_Inicial_Facturas) VALUES (3, 'Tierra de Nadie', "
            "'jalisco', 5)");
        Ejecutar_Central(
            "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, Razon_Social_Emisor, "
            "RFC_Emisor, Calle, Estado, CP, Pais, Calle_Domicilio_Expedicion, "
            "Estado_Domicilio_Expedicion, Serie_Facturas, Folio_Inicial_Facturas, "
            "Lugar_de_Expedicion_Facturas, Regimen_Fiscal_Facturas, Leyenda_de_Pagare_Facturas, "
            "Ruta_Cola_Facturas, email_envio) VALUES (7, 'ANTOJERIA DEL SUR', 'ADS150312AB1', "
            "'Reforma', 'Jalisco', '44100', 'México', 'Juárez', 'Colima', 'S', 1500, '44100', "
            "'601', 'leyenda vieja', 'C:*Sur*', 'sur@example.com')");
        Ejecutar_Central("INSERT INTO Configuracion (ID) VALUES (1), (2)");
        Cargar_Sucursales();
        Abrir();
    }

    void Abrir() {
        ventana = std::make_unique<frmConfiguracion_Facturas>();
        ventana->show();
        ventana->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(ventana.get()));
    }

    template <typename T = QLineEdit>
    T* Control(const char* nombre) {
        T* control = ventana->findChild<T*>(nombre);
        EXPECT_NE(control, nullptr) << nombre;
        return control;
    }
    QString Texto(const char* caja) { return Control(caja)->text(); }
    void Elegir_Sucursal(const char* nombre) {
        auto* combo = Control<QComboBox>("cboSucursal");
        combo->setCurrentIndex(combo->findText(nombre));
    }
    void Pulsar(const char* boton) {
        QTest::mouseClick(Control<QPushButton>(boton), Qt::LeftButton);
    }
    std::string Columna(const std::string& columna, int sucursal = 7) {
        return Valor_Central("SELECT " + columna +
                             " FROM Configuracion_Facturas_Electronicas WHERE ID_Sucursal = " +
                             std::to_string(sucursal));
    }
    std::vector<std::string> Advertencias() const {
        std::vector<std::string> textos;
        for (const auto& m : entorno.operador.De_Tipo("advertencia"))
            textos.push_back(m.titulo + " / " + m.texto);
        return textos;
    }

    Entorno_Pruebas entorno;
    std::unique_ptr<frmConfiguracion_Facturas> ventana;
};

constexpr const char* kExito =
    "Atención / Se almacenó correctamente la configuración para la emisión de Facturas "
    "Electrónicas";

TEST_F(Configuracion_Facturas, OpensReloadedOnTheFiscalPageWithDesignTextsAndTabOrder) {
    EXPECT_EQ(Datos_Emision_Sucursales().size(), 2u);
    EXPECT_EQ(ventana->windowTitle(), "Configurar Parámetros de Facturación");
    EXPECT_TRUE(Control<QWidget>("fraOpcion_0")->isVisible());
    EXPECT_FALSE(Control<QWidget>("fraOpcion_1")->isVisible());
    auto* sucursales = Control<QComboBox>("cboSucursal");
    EXPECT_EQ(sucursales->currentIndex(), -1);
    ASSERT_EQ(sucursales->count(), 3);
    EXPECT_EQ(sucursales->itemText(2), "Sur");
    EXPECT_EQ(sucursales->itemData(2).toInt(), 7);
    for (const char* combo : {"cboEstado", "cboEstado_Expedicion"}) {
        auto* estados = Control<QComboBox>(combo);
        EXPECT_EQ(estados->currentIndex(), -1);
        ASSERT_EQ(estados->count(), 33);
        EXPECT_EQ(estados->itemText(0), "Aguascalientes");
        EXPECT_EQ(estados->itemText(24), "San Luís Potosí");
    }
    for (const Caja_Perfil& caja : Cajas_Perfil())
        EXPECT_EQ(Texto(caja.nombre).toStdString(), caja.diseno) << caja.nombre;
    EXPECT_EQ(Texto("txtRFC"), "ABCD050505ABCD");
    EXPECT_EQ(Texto("txtCP_Expedicion"), "99999");
    EXPECT_EQ(Texto("txtPais"), "México");
    EXPECT_EQ(Control("txtRFC")->maxLength(), 15);
    for (const char* nombre :
         {"lblMenu_0", "lblMenu_1", "cmdCola", "cmdValidas", "cmdNo_Validas", "cmdAceptar",
          "txtMensaje_en_Email", "cmdAceptar_Mensaje", "txtMensaje_en_Ticket", "Text5"})
        EXPECT_NE(ventana->findChild<QWidget*>(nombre), nullptr) << nombre;
    const auto orden = Orden_Tabulacion_Perfil();
    for (size_t i = 0; i + 1 < orden.size(); ++i)
        EXPECT_EQ(Control<QWidget>(orden[i])->nextInFocusChain(), Control<QWidget>(orden[i + 1]))
            << orden[i];
}

TEST_F(Configuracion_Facturas, MenuLabelsHighlightUnderThePointerAndSwitchPages) {
    auto* datos = Control<QLabel>("lblMenu_0");
    auto* mensajes = Control<QLabel>("lblMenu_1");
    EXPECT_FALSE(datos->autoFillBackground() || mensajes->autoFillBackground());
    QTest::mouseMove(mensajes);
    EXPECT_TRUE(mensajes->autoFillBackground());
    EXPECT_EQ(mensajes->palette().color(QPalette::Window), QColor(225, 225, 225));
    QTest::mouseClick(mensajes, Qt::LeftButton);
    EXPECT_TRUE(Control<QWidget>("fraOpcion_1")->isVisible());
    EXPECT_FALSE(Control<QWidget>("fraOpcion_0")->isVisible());
    QTest::mouseMove(datos);
    EXPECT_TRUE(datos->autoFillBackground());
    EXPECT_FALSE(mensajes->autoFillBackground());
    QTest::mouseClick(datos, Qt::LeftButton);
    EXPECT_TRUE(Control<QWidget>("fraOpcion_0")->isVisible());
}

TEST_F(Configuracion_Facturas, ABranchFillsTheBoxesAndSavingWritesEveryColumnAsTyped) {
    Control("txtNro_Aprobacion")->setText("123");
    Control("txtEmail_Copia")->setText("copia@example.com");
    Elegir_Sucursal("Sur");
    EXPECT_EQ(Texto("txtRazon_Social"), "ANTOJERIA DEL SUR");
    EXPECT_EQ(Texto("txtFolio"), "1500");
    EXPECT_EQ(Texto("txtFolio_Final"), "1500");
    EXPECT_EQ(Texto("txtNro_Aprobacion"), "");
    EXPECT_EQ(Texto("txtEmail_Copia"), "copia@example.com");
    EXPECT_EQ(Texto("txtRFC"), "ADS150312AB1");
    EXPECT_EQ(Texto("txtFolder_Cola"), QString("C:%1Sur%1").arg(kSep));
    EXPECT_EQ(Control<QComboBox>("cboEstado")->currentText(), "Jalisco");
    EXPECT_EQ(Control<QComboBox>("cboEstado_Expedicion")->currentText(), "Colima");

    Control("txtRazon_Social")->setText("Tacos O'Hara \\ Hijos");
    Control("txtLugar")->setText("  Zapopan  ");
    Control("txtRegimen")->setText(" 612 ");
    Control("txtFolio")->setText("0012");
    const std::string cola = std::string("C:") + kSep + "Cola" + kSep;
    Control("txtFolder_Cola")->setText(QString::fromStdString(cola));
    Pulsar("cmdAceptar");
    EXPECT_EQ(Advertencias(), std::vector<std::string>{kExito});
    EXPECT_FALSE(ventana->isVisible());
    EXPECT_EQ(ventana->result(), QDialog::Accepted);
    EXPECT_EQ(Columna("Razon_Social_Emisor"), "Tacos O'Hara \\ Hijos");
    EXPECT_EQ(Columna("Lugar_de_Expedicion_Facturas"), "Zapopan");
    EXPECT_EQ(Columna("Regimen_Fiscal_Facturas"), "612");
    EXPECT_EQ(Columna("Folio_Inicial_Facturas"), "12");
    EXPECT_EQ(Columna("Ruta_Cola_Facturas"), "C:*Cola*");
    EXPECT_EQ(Columna("Leyenda_de_Pagare_Facturas"), "");
    EXPECT_EQ(Columna("Estado_Domicilio_Expedicion"), "Colima");
    EXPECT_EQ(Columna("CP"), "44100");
    EXPECT_EQ(Columna("email_envio"), "sur@example.com");
    // Reloaded after saving, and shown again as typed when the window opens anew.
    EXPECT_EQ(Obtener_Datos_Emision(7).Ruta_Cola_Facturas, cola);
    Abrir();
    Elegir_Sucursal("Sur");
    EXPECT_EQ(Texto("txtFolder_Cola").toStdString(), cola);
}

TEST_F(Configuracion_Facturas, StateNotInTheListKeepsThePreviousOneAndEmptyFolioSavesZero) {
    Elegir_Sucursal("Sur");
    Elegir_Sucursal("Centro");
    // "jalisco" differs in case from the list's entry: no match either.
    EXPECT_EQ(Control<QComboBox>("cboEstado")->currentText(), "Jalisco");
    EXPECT_EQ(Control<QComboBox>("cboEstado_Expedicion")->currentText(), "Colima");
    EXPECT_EQ(Texto("txtRazon_Social"), "");
    Control("txtFolio")->clear();
    Pulsar("cmdAceptar");
    EXPECT_EQ(Columna("Estado", 3), "Jalisco");
    EXPECT_EQ(Columna("Estado_Domicilio_Expedicion", 3), "Colima");
    EXPECT_EQ(Columna("Folio_Inicial_Facturas", 3), "0");
}

TEST_F(Configuracion_Facturas, NothingIsReportedAsSavedWhenNothingWasSaved) {
    Pulsar("cmdAceptar");
    Elegir_Sucursal("Sur");
    Control("txtFolio")->setText("99999999999");
    Pulsar("cmdAceptar");
    Elegir_Sucursal("Sin perfil");
    EXPECT_EQ(Texto("txtRFC"), "");
    Pulsar("cmdAceptar");
    Elegir_Sucursal("Sur");
    {
        Tabla_Retirada perfiles("Configuracion_Facturas_Electronicas");
        Pulsar("cmdAceptar");
    }
    const auto avisos = Advertencias();
    ASSERT_EQ(avisos.size(), 4u);
    EXPECT_EQ(avisos[0],
              "Atención / Favor de seleccionar la Sucursal cuya configuración desea almacenar.");
    EXPECT_EQ(avisos[1],
              "Atención / El Siguiente Folio a Emitir no puede ser mayor que 2147483647, favor "
              "de verificar.");
    EXPECT_EQ(avisos[2],
              "Atención / La sucursal seleccionada no tiene registro de configuración de "
              "Facturas Electrónicas en la base de datos central; no se almacenó ningún cambio.");
    EXPECT_EQ(avisos[3].rfind("Se produjo un error / No se pudo almacenar la configuración; no se "
                              "realizó ningún cambio. Detalle: ",
                              0),
              0u)
        << avisos[3];
    EXPECT_TRUE(ventana->isVisible());
    EXPECT_EQ(Columna("Folio_Inicial_Facturas"), "1500");
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Configuracion_Facturas_Electronicas"), "2");
}

TEST_F(Configuracion_Facturas, FolderPickersFillTheirBoxAndACancelEmptiesIt) {
    entorno.operador.carpetas = {"/srv/cola"};
    Control("txtFolder_Validas")->setText("algo");
    Pulsar("cmdCola");
    Pulsar("cmdValidas");
    Pulsar("cmdNo_Validas");
    EXPECT_EQ(Texto("txtFolder_Cola"), "/srv/cola");
    EXPECT_EQ(Texto("txtFolder_Validas"), "");
    const auto pedidos = entorno.operador.De_Tipo("carpeta");
    ASSERT_EQ(pedidos.size(), 3u);
    EXPECT_EQ(pedidos[0].titulo, "Seleccione el foder donde se pondrán las facturas a timprar...");
    EXPECT_EQ(pedidos[1].titulo,
              "Seleccione el foder donde se Almacenarán las facturas Válidas...");
    EXPECT_EQ(pedidos[2].titulo,
              "Seleccione el foder donde se Almacenarán las facturas NO Válidas...");
}

TEST_F(Configuracion_Facturas, EmailTextIsSavedToEveryRowAndKeptForTheRun) {
    QTest::mouseClick(Control<QLabel>("lblMenu_1"), Qt::LeftButton);
    auto* mensaje = Control<QPlainTextEdit>("txtMensaje_en_Email");
    mensaje->setPlainText("   ");
    Pulsar("cmdAceptar_Mensaje");
    EXPECT_EQ(Advertencias(),
              std::vector<std::string>{"Atención / Favor de ingresar el mensaje que desea que se "
                                       "envíe, en el cuerpo del email, junto a los comprobantes "
                                       "fiscales."});
    EXPECT_TRUE(mensaje->toPlainText().isEmpty());
    EXPECT_EQ(ventana->focusWidget(), mensaje);
    EXPECT_TRUE(ventana->isVisible());

    mensaje->setPlainText(QString(300, QChar('x')));
    EXPECT_EQ(mensaje->toPlainText().size(), 250);
    {
        Tabla_Retirada configuracion("Configuracion");
        mensaje->setPlainText(" Gracias por su compra, 'Don' C:\\ ");
        Pulsar("cmdAceptar_Mensaje");
    }
    EXPECT_TRUE(ventana->isVisible());
    EXPECT_EQ(Mensaje_Facturacion_Email(), "");
    Pulsar("cmdAceptar_Mensaje");
    EXPECT_EQ(Advertencias().back(), kExito);
    EXPECT_FALSE(ventana->isVisible());
    EXPECT_EQ(
        Valor_Central("SELECT COUNT(*) FROM Configuracion WHERE "
                      "Mensaje_Facturacion_en_Email = 'Gracias por su compra, ''Don'' C:\\\\'"),
        "2");
    EXPECT_EQ(Mensaje_Facturacion_Email(), "Gracias por su compra, 'Don' C:\\");
    Abrir();
    EXPECT_EQ(Control<QPlainTextEdit>("txtMensaje_en_Email")->toPlainText().toStdString(),
              Mensaje_Facturacion_Email());
}

TEST_F(Configuracion_Facturas, EnterMovesOnWithoutSavingAndTheFolioTakesDigitsOnly) {
    Control("txtRazon_Social")->setFocus();
    QTest::keyClick(Control("txtRazon_Social"), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(ventana->focusWidget(), Control("txtRFC"));
    Control("txtFolio")->clear();
    QTest::keyClicks(Control("txtFolio"), "1a2-3");
    EXPECT_EQ(Texto("txtFolio"), "123");
    auto* estado = Control<QComboBox>("cboEstado");
    estado->setFocus();
    QTest::keyClick(estado, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(ventana->focusWidget(), Control("txtCP"));
    EXPECT_TRUE(ventana->isVisible());
    EXPECT_TRUE(entorno.operador.mostrados.empty());
}

}  // namespace
}  // namespace facturador::pruebas

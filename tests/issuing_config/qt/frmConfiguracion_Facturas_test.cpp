#include "issuing_config/qt/frmConfiguracion_Facturas.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <filesystem>
#include <memory>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Siembra.h"
#include "apoyo/qt/Servidor_Colgado.h"
#include "apoyo/qt/Ventanas.h"
#include "data/Sucursales.h"
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
            "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, Razon_Social_Emisor, "
            "RFC_Emisor, Regimen_Fiscal_Facturas, CP_Domicilio_Expedicion, Estado, "
            "Estado_Domicilio_Expedicion, Folio_Inicial_Facturas) VALUES (3, 'CENTRO', "
            "'CEN150312AB1', '601', '06000', 'Tierra de Nadie', 'jalisco', 5)");
        Ejecutar_Central(
            "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, Razon_Social_Emisor, "
            "RFC_Emisor, Regimen_Fiscal_Facturas, CP_Domicilio_Expedicion, Estado, CP, "
            "Estado_Domicilio_Expedicion, Folio_Inicial_Facturas, Leyenda_de_Pagare_Facturas, "
            "Ruta_Cola_Facturas, email_envio) VALUES (7, 'ANTOJERIA DEL SUR', 'ADS150312AB1', "
            "'601', '28000', 'Jalisco', '44100', 'Colima', 1500, 'leyenda vieja', 'C:*Sur*', "
            "'sur@example.com')");
        Ejecutar_Central("INSERT INTO Configuracion (ID) VALUES (1), (2)");
        Cargar_Sucursales();
        Abrir();
    }

    void Abrir() {
        ventana = std::make_unique<frmConfiguracion_Facturas>();
        ASSERT_TRUE(Mostrar_Ventana(*ventana));
    }

    template <typename T = QLineEdit>
    T* Control(const char* nombre) {
        return Control_De<T>(*ventana, nombre);
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

// Opened, the window reloads the profiles and lists the branches with their numbers, none chosen.
TEST_F(Configuracion_Facturas, OpensReloadedWithNothingSelectedAndEnterNeverSaves) {
    EXPECT_EQ(Datos_Emision_Sucursales().size(), 2u);
    auto* sucursales = Control<QComboBox>("cboSucursal");
    EXPECT_EQ(sucursales->currentIndex(), -1);
    ASSERT_EQ(sucursales->count(), 3);
    EXPECT_EQ(sucursales->itemText(2) + QString::number(sucursales->itemData(2).toInt()), "Sur7");
    for (const char* combo : {"cboEstado", "cboEstado_Expedicion"})
        EXPECT_EQ(Control<QComboBox>(combo)->currentIndex(), -1) << combo;

    // Enter moves on and saves nothing; the folio takes digits only.
    Teclear_Y_Enter(Control("txtRazon_Social"));
    EXPECT_EQ(ventana->focusWidget(), Control("txtRFC"));
    Control("txtFolio")->clear();
    QTest::keyClicks(Control("txtFolio"), "1a2-3");
    EXPECT_EQ(Texto("txtFolio"), "123");
    Teclear_Y_Enter(Control<QComboBox>("cboEstado"));
    EXPECT_EQ(ventana->focusWidget(), Control("txtCP"));
    EXPECT_TRUE(entorno.operador.mostrados.empty());
}

// A branch fills the boxes (approval number cleared, copy address kept); a cancelled folder picker
// empties its box; saving writes the columns as typed or trimmed, and the queue folder round-trips.
TEST_F(Configuracion_Facturas, ABranchFillsTheBoxesAndSavingWritesEveryColumnAsTyped) {
    Control("txtNro_Aprobacion")->setText("123");
    Control("txtEmail_Copia")->setText("copia@example.com");
    Elegir_Sucursal("Sur");
    EXPECT_EQ(Texto("txtRazon_Social") + Texto("txtRFC") + Texto("txtFolio") +
                  Texto("txtFolio_Final") + "|" + Texto("txtNro_Aprobacion") + "|" +
                  Texto("txtEmail_Copia"),
              "ANTOJERIA DEL SURADS150312AB115001500||copia@example.com");
    EXPECT_EQ(Texto("txtFolder_Cola"), QString("C:%1Sur%1").arg(kSep));
    EXPECT_EQ(Control<QComboBox>("cboEstado")->currentText(), "Jalisco");
    EXPECT_EQ(Control<QComboBox>("cboEstado_Expedicion")->currentText(), "Colima");

    Control("txtRazon_Social")->setText("Tacos O'Hara \\ Hijos");
    Control("txtLugar")->setText("  Zapopan  ");
    Control("txtRegimen")->setText(" 626 ");
    Control("txtFolio")->setText("0012");
    const std::string cola = std::string("C:") + kSep + "Cola" + kSep;
    entorno.operador.carpetas = {cola};
    Pulsar("cmdCola");
    Control("txtFolder_Validas")->setText("algo");
    Pulsar("cmdValidas");
    EXPECT_EQ(Texto("txtFolder_Validas"), "");
    EXPECT_EQ(entorno.operador.De_Tipo("carpeta").size(), 2u);
    Pulsar("cmdAceptar");
    EXPECT_EQ(Advertencias(), std::vector<std::string>{kExito});
    EXPECT_EQ(ventana->result(), QDialog::Accepted);
    EXPECT_EQ(Columna("CONCAT_WS('|', Razon_Social_Emisor, Lugar_de_Expedicion_Facturas, "
                      "Regimen_Fiscal_Facturas, Folio_Inicial_Facturas, Ruta_Cola_Facturas, "
                      "Ruta_Facturas_Validas, Estado_Domicilio_Expedicion)"),
              "Tacos O'Hara \\ Hijos|Zapopan|626|12|C:*Cola*||Colima");
    // Reloaded after saving, and shown again as typed when the window opens anew.
    EXPECT_EQ(Obtener_Datos_Emision(7).Ruta_Cola_Facturas, cola);
    Abrir();
    Elegir_Sucursal("Sur");
    EXPECT_EQ(Texto("txtFolder_Cola").toStdString(), cola);
}

// Nothing is said saved when nothing was (no branch, a folio beyond 32 bits, a profile the tax
// authority refuses, no profile row, a failing database). A state not in the list ("jalisco"
// differs in case) keeps the one shown before, and an empty folio saves 0.
TEST_F(Configuracion_Facturas, RefusalsSaveNothingAndAStateNotInTheListKeepsThePreviousOne) {
    Pulsar("cmdAceptar");
    Elegir_Sucursal("Sur");
    Control("txtFolio")->setText("99999999999");
    Pulsar("cmdAceptar");
    Control("txtFolio")->setText("1500");
    Control("txtCP_Expedicion")->setText("1800");
    Pulsar("cmdAceptar");
    Control("txtCP_Expedicion")->setText("28000");
    Control("txtSerie_Folios")->setText("P*Q");
    Pulsar("cmdAceptar");
    Elegir_Sucursal("Sin perfil");
    EXPECT_EQ(Texto("txtRFC"), "");
    Pulsar("cmdAceptar");
    Elegir_Sucursal("Sur");
    {
        Tabla_Ausente perfiles("Configuracion_Facturas_Electronicas");
        Pulsar("cmdAceptar");
    }
    auto avisos = Advertencias();
    ASSERT_EQ(avisos.size(), 6u);
    const std::string falla =
        "Se produjo un error / No se pudo almacenar la configuración; no se "
        "realizó ningún cambio. Detalle: ";
    EXPECT_TRUE(avisos[5].starts_with(falla)) << avisos[5];
    avisos[5] = falla;
    EXPECT_EQ(avisos,
              (std::vector<std::string>{
                  "Atención / Favor de seleccionar la Sucursal cuya configuración desea almacenar.",
                  "Atención / El Siguiente Folio a Emitir no puede ser mayor que 2147483647, "
                  "favor de verificar.",
                  "Atención / C.P. del Domicilio de Expedición no existe en el catálogo "
                  "c_CodigoPostal del SAT: 1800, favor de verificar.",
                  "Atención / La Serie de Facturas no puede contener saltos de línea ni otros "
                  "caracteres de control, los caracteres / \\ : * ? \" < > | ni caracteres que "
                  "no existen en Windows-1252, ni tener más de 25 caracteres, favor de verificar.",
                  "Atención / La sucursal seleccionada no tiene registro de configuración de "
                  "Facturas Electrónicas en la base de datos central; no se almacenó ningún "
                  "cambio.",
                  falla}));
    EXPECT_TRUE(ventana->isVisible());
    EXPECT_EQ(Columna("Folio_Inicial_Facturas"), "1500");

    // A profile deleted since the window loaded it is not stored anew, nor said stored.
    Ejecutar_Central("DELETE FROM Configuracion_Facturas_Electronicas WHERE ID_Sucursal = 7");
    Pulsar("cmdAceptar");
    EXPECT_EQ(Advertencias().back(), avisos[4]);
    EXPECT_TRUE(ventana->isVisible());

    Elegir_Sucursal("Centro");
    EXPECT_EQ(Control<QComboBox>("cboEstado")->currentText(), "Jalisco");
    EXPECT_EQ(Control<QComboBox>("cboEstado_Expedicion")->currentText(), "Colima");
    EXPECT_EQ(Texto("txtRazon_Social"), "CENTRO");
    Control("txtFolio")->clear();
    Pulsar("cmdAceptar");
    EXPECT_EQ(Advertencias().back(), kExito);
    EXPECT_EQ(
        Columna("CONCAT_WS('|', Estado, Estado_Domicilio_Expedicion, Folio_Inicial_Facturas)", 3),
        "Jalisco|Colima|0");
}

// While the server hangs the window takes nothing in and shows a busy pointer; a save whose answer
// is lost is said unknown, never "no change", and what was typed stays for Aceptar again.
TEST_F(Configuracion_Facturas, AHungServerNeitherFreezesTheWindowNorLetsItSaveTwice) {
    const std::string perdida = "Detalle: Lost connection to server during query";
    EXPECT_TRUE(Con_Servidor_Colgado("SELECT COUNT(*), BIT_XOR", [&] { Abrir(); }, [] {}));
    ASSERT_EQ(Advertencias().size(), 1u);
    EXPECT_TRUE(Advertencias()[0].starts_with("Se produjo un error / No se pudieron leer los "
                                              "perfiles de emisión"));
    EXPECT_TRUE(Advertencias()[0].ends_with(perdida)) << Advertencias()[0];
    // After a failed load nothing is saved: the boxes may be older than the database (its folio).
    Elegir_Sucursal("Sur");
    EXPECT_EQ(Texto("txtFolio"), "1500");
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET Folio_Inicial_Facturas = 1700 WHERE "
        "ID_Sucursal = 7");
    Pulsar("cmdAceptar");
    EXPECT_EQ(Advertencias().back(),
              "Atención / Los perfiles de emisión no se pudieron leer de la base de datos central "
              "al abrir esta ventana; no se almacenó ningún cambio. Cierre la ventana y vuelva a "
              "abrirla.");
    EXPECT_TRUE(ventana->isVisible());
    EXPECT_EQ(Columna("Folio_Inicial_Facturas"), "1700");

    for (const auto& [inicio, pagina, boton, caja, almacenado] :
         std::vector<std::tuple<const char*, const char*, const char*, const char*, std::string>>{
             {"UPDATE Configuracion_Facturas_Electronicas", "lblMenu_0", "cmdAceptar", "txtFolio",
              "Folio_Inicial_Facturas = 1600"},
             {"UPDATE Configuracion SET", "lblMenu_1", "cmdAceptar_Mensaje",
              "txtMensaje_en_Email", "Mensaje_Facturacion_en_Email = 'Gracias'"}}) {
        Abrir();
        QTest::mouseClick(Control<QLabel>(pagina), Qt::LeftButton);
        Elegir_Sucursal("Sur");
        Control("txtFolio")->setText("1600");
        Control<QPlainTextEdit>("txtMensaje_en_Email")->setPlainText("Gracias");
        const size_t avisos = Advertencias().size();
        bool ocupada = false;
        bool abierta = false;
        const bool colgado = Con_Servidor_Colgado(inicio, [&] { Pulsar(boton); }, [&] {
            ocupada = ventana->cursor().shape() == Qt::BusyCursor;
            Pulsar(boton);
            QTest::keyClicks(Control<QWidget>(caja), "9");
            QTest::keyClick(ventana.get(), Qt::Key_Escape);
            ventana->close();
            abierta = ventana->isVisible();
        });
        EXPECT_TRUE(colgado && ocupada && abierta && ventana->isVisible()) << inicio;
        EXPECT_NE(ventana->cursor().shape(), Qt::BusyCursor) << inicio;
        ASSERT_EQ(Advertencias().size(), avisos + 1) << inicio;
        const std::string aviso = Advertencias().back();
        EXPECT_TRUE(Empieza(aviso,
                            "Se produjo un error / Se perdió la conexión con la base de datos "
                            "central mientras se almacenaba"));
        EXPECT_TRUE(Contiene(aviso, "no se sabe si quedó almacenad"));
        EXPECT_TRUE(aviso.ends_with(perdida)) << aviso;
        EXPECT_EQ(Texto("txtFolio") + Control<QPlainTextEdit>("txtMensaje_en_Email")->toPlainText(),
                  "1600Gracias")
            << inicio;

        Pulsar(boton);
        EXPECT_EQ(Advertencias().back(), kExito) << inicio;
        EXPECT_FALSE(ventana->isVisible()) << inicio;
        EXPECT_NE(Valor_Central("SELECT COUNT(*) FROM Configuracion_Facturas_Electronicas, "
                                "Configuracion WHERE ID_Sucursal = 7 AND " +
                                almacenado),
                  "0")
            << inicio;
    }
}

TEST_F(Configuracion_Facturas, EmailTextIsSavedToEveryRowAndKeptForTheRun) {
    QTest::mouseClick(Control<QLabel>("lblMenu_1"), Qt::LeftButton);
    EXPECT_FALSE(Control<QWidget>("fraOpcion_0")->isVisible());
    auto* mensaje = Control<QPlainTextEdit>("txtMensaje_en_Email");
    mensaje->setPlainText("   ");
    Pulsar("cmdAceptar_Mensaje");
    EXPECT_EQ(Advertencias(),
              std::vector<std::string>{"Atención / Favor de ingresar el mensaje que desea que se "
                                       "envíe, en el cuerpo del email, junto a los comprobantes "
                                       "fiscales."});
    EXPECT_TRUE(mensaje->toPlainText().isEmpty());
    EXPECT_EQ(ventana->focusWidget(), mensaje);

    mensaje->setPlainText(QString(300, QChar('x')));
    EXPECT_EQ(mensaje->toPlainText().size(), 250);
    {
        Tabla_Ausente configuracion("Configuracion");
        mensaje->setPlainText(" Gracias por su compra, 'Don' C:\\ ");
        Pulsar("cmdAceptar_Mensaje");
    }
    EXPECT_TRUE(Empieza(Advertencias().back(),
                        "Se produjo un error / No se pudo almacenar el mensaje del email; no se "
                        "realizó ningún cambio. Detalle: "));
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
}

}  // namespace
}  // namespace facturador::pruebas

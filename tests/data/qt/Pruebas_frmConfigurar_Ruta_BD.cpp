#include <QLabel>
#include <QLineEdit>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/qt/Ventanas.h"
#include "data/Conexiones.h"
#include "data/Configuracion.h"
#include "data/Ruta_BD.h"
#include "data/qt/frmConfigurar_Ruta_BD.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"

namespace facturador::pruebas {
namespace {

// The dialog over a local Configuracion table of two rows.
class Ventana_Ruta_BD : public testing::Test {
  protected:
    void SetUp() override {
        entorno.Crear_Bases_Locales();
        Ejecutar_SQLite(Archivo_Local(),
                        "INSERT INTO Configuracion (BD_MySQL, IP_Servidor) VALUES ('Vieja', "
                        "'viejo')");
        Reiniciar_Configuracion();
        Configuracion().Servidor_Central = Configuracion().Cadena_Conexion_Central = "anterior";
        ASSERT_TRUE(Mostrar_Ventana(ventana));
    }

    std::string Archivo_Local() const { return Unir_Ruta(entorno.Carpeta(), "local.dll"); }
    // "BD_MySQL|IP_Servidor " of every row of the local table, in row order.
    std::string Filas_Locales() const {
        Conexion conexion;
        conexion.Abrir(Cadena_Conexion_Local());
        std::string filas;
        Recordset rs = conexion.Ejecutar("SELECT BD_MySQL, IP_Servidor FROM Configuracion");
        for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
            filas += rs.Texto("BD_MySQL") + "|" + rs.Texto("IP_Servidor") + " ";
        return filas;
    }
    QLineEdit* Caja(const char* nombre) const { return Control_De<QLineEdit>(ventana, nombre); }
    void Escribir(const char* servidor, const char* nombre) const {
        Caja("txtIP")->setText(servidor);
        Caja("txtNombre")->setText(nombre);
    }

    Entorno_Pruebas entorno;
    const Configuracion_Programa& cfg = Configuracion();
    frmConfigurar_Ruta_BD ventana;
};

// A failed connection keeps the window open (Escape too) with the focus on txtIP, and saves
// nothing. Enter saves only from txtIP, the values trimmed, into every row.
TEST_F(Ventana_Ruta_BD, OnlyAcceptOrEnterInTxtIPSaveAndAFailureKeepsEverything) {
    const std::string antes = Filas_Locales();
    Escribir("localhost", "Base_Que_No_Existe");
    Caja("txtNombre")->setFocus();
    QTest::mouseClick(Control_De(ventana, "cmdAceptar"), Qt::LeftButton);
    QTest::keyClick(&ventana, Qt::Key_Escape);
    EXPECT_TRUE(ventana.isVisible());
    EXPECT_EQ(ventana.focusWidget(), Caja("txtIP"));
    EXPECT_EQ(Filas_Locales(), antes);
    EXPECT_EQ(cfg.Cadena_Conexion_Central + cfg.Servidor_Central, "anterior");

    Escribir("  localhost ", " Morvane_Central  ");
    QTest::keyClick(Caja("txtNombre"), Qt::Key_Return);
    EXPECT_TRUE(ventana.isVisible());
    QTest::keyClick(Caja("txtIP"), Qt::Key_Return);
    EXPECT_FALSE(ventana.isVisible());
    EXPECT_EQ(ventana.result(), QDialog::Accepted);
    EXPECT_EQ(Filas_Locales(), "Morvane_Central|localhost Morvane_Central|localhost ");
    EXPECT_EQ(cfg.Servidor_Central + " " + cfg.Base_Central, "localhost Morvane_Central");
    EXPECT_EQ(cfg.Cadena_Conexion_Central, Cadena_Central_Pruebas());
    EXPECT_EQ(
        entorno.operador.Textos(),
        (std::vector<std::string>{"advertencia: Atención / No es posible conectarse a la base "
                                  "de datos, favor de verificar los parámetros ingresados.",
                                  "advertencia: Atención / Se almacenaron correctamente los "
                                  "parámetros de la base de datos."}));
}

// Quotes reach the local table as typed; without the local file the save fails after connecting.
TEST_F(Ventana_Ruta_BD, QuotesAreStoredAsTypedAndAMissingLocalFileFailsTheSave) {
    Actualizar_Configuracion_Local("serv'idor", "O'Brien");
    EXPECT_EQ(Filas_Locales(), "O'Brien|serv'idor O'Brien|serv'idor ");
    Borrar_Archivo_Ignorando_Errores(Archivo_Local());
    EXPECT_FALSE(Guardar_Parametros("localhost", "Morvane_Central"));
    EXPECT_EQ(cfg.Cadena_Conexion_Central, Cadena_Central_Pruebas());
    EXPECT_EQ(cfg.Servidor_Central, "anterior");
    EXPECT_FALSE(Existe_Archivo(Archivo_Local()));
}

TEST_F(Ventana_Ruta_BD, TheXEndsTheProgram) {
    QTest::mouseClick(Control_De<QLabel>(ventana, "lblCerrar"), Qt::LeftButton);
    EXPECT_FALSE(ventana.isVisible());
    EXPECT_EQ(ventana.result(), frmConfigurar_Ruta_BD::kTerminar_Programa);
    EXPECT_TRUE(ventana.Termino_Programa());
    EXPECT_TRUE(entorno.operador.mostrados.empty());
}

}  // namespace
}  // namespace facturador::pruebas

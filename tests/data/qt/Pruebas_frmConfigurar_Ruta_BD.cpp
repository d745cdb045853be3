#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "apoyo/Entorno_Pruebas.h"
#include "data/Configuracion.h"
#include "data/Ruta_BD.h"
#include "data/qt/frmConfigurar_Ruta_BD.h"

namespace facturador {
namespace {

class Ventana_Ruta_BD : public testing::Test {
  protected:
    void SetUp() override {
        entorno.Crear_Bases_Locales();
        Reiniciar_Configuracion();
        ventana.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&ventana));
    }

    template <typename T>
    T* Control(const char* nombre) {
        T* control = ventana.findChild<T*>(nombre);
        EXPECT_NE(control, nullptr) << nombre;
        return control;
    }

    void Escribir(const char* servidor, const char* nombre) {
        Control<QLineEdit>("txtIP")->setText(servidor);
        Control<QLineEdit>("txtNombre")->setText(nombre);
    }

    pruebas::Entorno_Pruebas entorno;
    frmConfigurar_Ruta_BD ventana;
};

TEST_F(Ventana_Ruta_BD, EnterEnTxtNombreNoGuardaYEnTxtIPSi) {
    Escribir(" localhost ", "Morvane_Central");
    QTest::keyClick(Control<QLineEdit>("txtNombre"), Qt::Key_Return);
    EXPECT_TRUE(entorno.operador.mostrados.empty());
    EXPECT_TRUE(ventana.isVisible());

    QTest::keyClick(Control<QLineEdit>("txtIP"), Qt::Key_Return);
    EXPECT_FALSE(ventana.isVisible());
    EXPECT_EQ(ventana.result(), QDialog::Accepted);
    EXPECT_FALSE(ventana.Termino_Programa());
    ASSERT_EQ(entorno.operador.mostrados.size(), 1u);
    EXPECT_EQ(entorno.operador.mostrados[0].tipo, "advertencia");
    EXPECT_EQ(entorno.operador.mostrados[0].titulo, "Atención");
    EXPECT_EQ(entorno.operador.mostrados[0].texto,
              "Se almacenaron correctamente los parámetros de la base de datos.");
    EXPECT_EQ(Configuracion().Servidor_Central, "localhost");
}

TEST_F(Ventana_Ruta_BD, UnaFallaDejaLaVentanaAbiertaConElFocoEnTxtIP) {
    Escribir("localhost", "Base_Que_No_Existe");
    Control<QLineEdit>("txtNombre")->setFocus();
    QTest::mouseClick(Control<QPushButton>("cmdAceptar"), Qt::LeftButton);
    EXPECT_TRUE(ventana.isVisible());
    ASSERT_EQ(entorno.operador.mostrados.size(), 1u);
    EXPECT_EQ(entorno.operador.mostrados[0].titulo, "Atención");
    EXPECT_EQ(entorno.operador.mostrados[0].texto,
              "No es posible conectarse a la base de datos, favor de verificar los parámetros "
              "ingresados.");
    EXPECT_EQ(ventana.focusWidget(), Control<QLineEdit>("txtIP"));
}

TEST_F(Ventana_Ruta_BD, EscapeNoCierraYLaXTerminaElPrograma) {
    QTest::keyClick(&ventana, Qt::Key_Escape);
    EXPECT_TRUE(ventana.isVisible());
    QTest::mouseClick(Control<QLabel>("lblCerrar"), Qt::LeftButton);
    EXPECT_FALSE(ventana.isVisible());
    EXPECT_TRUE(ventana.Termino_Programa());
    EXPECT_EQ(ventana.result(), frmConfigurar_Ruta_BD::kTerminar_Programa);
    EXPECT_TRUE(entorno.operador.mostrados.empty());
}

}  // namespace
}  // namespace facturador

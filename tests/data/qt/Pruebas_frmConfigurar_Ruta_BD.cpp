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

    // The texts shown to the operator.
    std::vector<std::string> Mostrado() const {
        std::vector<std::string> textos;
        for (const auto& m : entorno.operador.mostrados)
            textos.push_back(m.texto);
        return textos;
    }

    void Escribir(const char* servidor, const char* nombre) {
        Control<QLineEdit>("txtIP")->setText(servidor);
        Control<QLineEdit>("txtNombre")->setText(nombre);
    }

    pruebas::Entorno_Pruebas entorno;
    frmConfigurar_Ruta_BD ventana;
};

// A failed save leaves the window open with the focus on txtIP, and Escape does not close it.
// Enter in txtNombre does not save; in txtIP it does, with the values trimmed.
TEST_F(Ventana_Ruta_BD, SoloEnterEnTxtIPOAceptarGuardanYUnaFallaDejaLaVentanaAbierta) {
    Escribir("localhost", "Base_Que_No_Existe");
    Control<QLineEdit>("txtNombre")->setFocus();
    QTest::mouseClick(Control<QPushButton>("cmdAceptar"), Qt::LeftButton);
    QTest::keyClick(&ventana, Qt::Key_Escape);
    EXPECT_TRUE(ventana.isVisible());
    EXPECT_EQ(ventana.focusWidget(), Control<QLineEdit>("txtIP"));

    Escribir(" localhost ", "Morvane_Central");
    QTest::keyClick(Control<QLineEdit>("txtNombre"), Qt::Key_Return);
    EXPECT_TRUE(ventana.isVisible());
    QTest::keyClick(Control<QLineEdit>("txtIP"), Qt::Key_Return);
    EXPECT_FALSE(ventana.isVisible());
    EXPECT_EQ(ventana.result(), QDialog::Accepted);
    EXPECT_FALSE(ventana.Termino_Programa());
    EXPECT_EQ(Mostrado(), (std::vector<std::string>{
                              "No es posible conectarse a la base de datos, favor de verificar "
                              "los parámetros ingresados.",
                              "Se almacenaron correctamente los parámetros de la base de datos."}));
    EXPECT_EQ(Configuracion().Servidor_Central, "localhost");
}

TEST_F(Ventana_Ruta_BD, LaXTerminaElPrograma) {
    QTest::mouseClick(Control<QLabel>("lblCerrar"), Qt::LeftButton);
    EXPECT_FALSE(ventana.isVisible());
    EXPECT_TRUE(ventana.Termino_Programa());
    EXPECT_EQ(ventana.result(), frmConfigurar_Ruta_BD::kTerminar_Programa);
    EXPECT_TRUE(Mostrado().empty());
}

}  // namespace
}  // namespace facturador

#include "ui/qt/frmAdvertencia.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "Apoyo_Dialogos.h"
#include "ui/qt/Boton_Imagen.h"

namespace facturador::pruebas {
namespace {

class frmAdvertencia_Prueba : public Prueba_Dialogos {
  protected:
    // Shows the dialog without a modal loop, so the test can send it events.
    frmAdvertencia* Mostrar(const QString& mensaje = QStringLiteral("Mensaje")) {
        frmAdvertencia* dialogo = frmAdvertencia::Instancia();
        dialogo->Preparar(QStringLiteral("Atención"), mensaje);
        dialogo->show();
        return dialogo;
    }
    static Boton_Imagen* Boton(frmAdvertencia* dialogo) {
        return dialogo->findChild<Boton_Imagen*>(QStringLiteral("picBoton_Aceptar"));
    }
    static QLabel* Etiqueta(frmAdvertencia* dialogo, const char* nombre) {
        return dialogo->findChild<QLabel*>(QLatin1String(nombre));
    }
};

TEST_F(frmAdvertencia_Prueba, a_release_off_the_button_does_nothing_on_it_any_mouse_button_closes) {
    frmAdvertencia* dialogo = Mostrar();
    Boton_Imagen* boton = Boton(dialogo);
    QTest::mousePress(boton, Qt::LeftButton);
    EXPECT_TRUE(boton->Presionado());
    QTest::mouseRelease(boton, Qt::LeftButton, {}, QPoint(boton->width() + 3, 5));
    EXPECT_FALSE(boton->Presionado());
    EXPECT_EQ(frmAdvertencia::Abierta(), dialogo);

    QTest::mousePress(boton, Qt::RightButton);
    QTest::mouseRelease(boton, Qt::RightButton, {},
                        QPoint(boton->width() - 1, boton->height() - 1));
    EXPECT_EQ(frmAdvertencia::Abierta(), nullptr);
}

TEST_F(frmAdvertencia_Prueba, closes_on_an_enter_that_went_down_and_up_on_the_button_only) {
    frmAdvertencia* dialogo = Mostrar();
    Boton_Imagen* boton = Boton(dialogo);
    QTest::keyRelease(boton, Qt::Key_Return);
    QTest::keyClick(boton, Qt::Key_Escape);
    QTest::keyClick(boton, Qt::Key_Space);
    QTest::keyClick(dialogo, Qt::Key_Escape);
    EXPECT_EQ(frmAdvertencia::Abierta(), dialogo);
    EXPECT_FALSE(dialogo->close());

    QTest::keyPress(boton, Qt::Key_Return);
    EXPECT_TRUE(boton->Presionado());
    EXPECT_EQ(frmAdvertencia::Abierta(), dialogo);
    QTest::keyRelease(boton, Qt::Key_Return);
    EXPECT_EQ(frmAdvertencia::Abierta(), nullptr);

    // The keypad's Enter is Enter too.
    QTest::keyClick(Boton(Mostrar()), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(frmAdvertencia::Abierta(), nullptr);
}

TEST_F(frmAdvertencia_Prueba, belongs_to_the_main_window_and_grows_taller_for_a_long_message) {
    QWidget frmAplicacion;
    frmAplicacion.setObjectName(QStringLiteral("frmAplicacion"));
    frmAdvertencia* corta = Mostrar();
    EXPECT_EQ(corta->parentWidget(), &frmAplicacion);
    const QSize tamano_corta = corta->size();
    QTest::mouseClick(Boton(corta), Qt::LeftButton);

    frmAdvertencia* dialogo =
        Mostrar(QStringLiteral("No es posible conectarse a la base de datos. ").repeated(12));
    QLabel* mensaje = Etiqueta(dialogo, "lblMensaje");
    EXPECT_EQ(dialogo->width(), tamano_corta.width());
    EXPECT_GT(dialogo->height(), tamano_corta.height());
    EXPECT_GE(mensaje->height(), mensaje->heightForWidth(mensaje->width()));
    EXPECT_LE(mensaje->geometry().bottom(), Boton(dialogo)->y());
    EXPECT_LE(Boton(dialogo)->geometry().bottom(), dialogo->height());
}

}  // namespace
}  // namespace facturador::pruebas

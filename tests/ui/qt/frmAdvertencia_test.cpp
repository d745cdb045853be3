#include "ui/qt/frmAdvertencia.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
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
    static QString Texto(frmAdvertencia* dialogo, const char* etiqueta) {
        return dialogo->findChild<QLabel*>(QLatin1String(etiqueta))->text();
    }
};

TEST_F(frmAdvertencia_Prueba, shows_the_texts_modally_and_returns_once_accepted) {
    QString encabezado, mensaje;
    QPoint posicion;
    Al_Abrirse([&] {
        frmAdvertencia* dialogo = frmAdvertencia::Abierta();
        ASSERT_NE(dialogo, nullptr);
        EXPECT_TRUE(dialogo->isModal());
        EXPECT_EQ(dialogo->parentWidget(), nullptr);
        encabezado = Texto(dialogo, "lblEncabezado");
        mensaje = Texto(dialogo, "lblMensaje");
        posicion = dialogo->pos();
        QTest::mouseClick(Boton(dialogo), Qt::LeftButton);
    });
    Mostrar_Advertencia(
        QStringLiteral("Se produjo un error"),
        QStringLiteral("Favor de seleccionar la base de datos y reiniciar el programa."));
    EXPECT_EQ(encabezado, QStringLiteral("Se produjo un error"));
    EXPECT_EQ(mensaje,
              QStringLiteral("Favor de seleccionar la base de datos y reiniciar el programa."));
    // Centred across the screen, 20 pixels below its middle.
    const QRect pantalla = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(posicion, pantalla.topLeft() + QPoint((pantalla.width() - 350) / 2,
                                                    (pantalla.height() - 142) / 2 + 20));
    EXPECT_EQ(frmAdvertencia::Abierta(), nullptr);
}

TEST_F(frmAdvertencia_Prueba, belongs_to_the_main_window_once_it_exists_and_is_fresh_each_time) {
    QWidget frmAplicacion;
    frmAplicacion.setObjectName(QStringLiteral("frmAplicacion"));
    QPointer<frmAdvertencia> primera = Mostrar();
    EXPECT_EQ(primera->parentWidget(), &frmAplicacion);
    QTest::mouseClick(Boton(primera), Qt::LeftButton);
    EXPECT_EQ(frmAdvertencia::Abierta(), nullptr);

    frmAdvertencia* segunda = Mostrar();
    EXPECT_NE(segunda, primera.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(primera.isNull());
}

TEST_F(frmAdvertencia_Prueba, releasing_the_mouse_off_the_button_keeps_it_open_any_button_works) {
    frmAdvertencia* dialogo = Mostrar();
    Boton_Imagen* boton = Boton(dialogo);
    QTest::mousePress(boton, Qt::LeftButton);
    EXPECT_TRUE(boton->Presionado());
    QTest::mouseRelease(boton, Qt::LeftButton, {}, QPoint(boton->width() + 3, 5));
    EXPECT_FALSE(boton->Presionado());
    EXPECT_EQ(frmAdvertencia::Abierta(), dialogo);

    QTest::mousePress(boton, Qt::RightButton);
    EXPECT_TRUE(boton->Presionado());
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
    dialogo = Mostrar();
    QTest::keyClick(Boton(dialogo), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(frmAdvertencia::Abierta(), nullptr);
}

TEST_F(frmAdvertencia_Prueba, a_long_message_makes_the_window_taller_instead_of_being_cut) {
    frmAdvertencia* corta = Mostrar(QStringLiteral("Se almacenaron correctamente los parámetros."));
    EXPECT_EQ(corta->size(), QSize(350, 142));
    QTest::mouseClick(Boton(corta), Qt::LeftButton);

    QString largo;
    for (int i = 0; i < 12; ++i)
        largo +=
            QStringLiteral("No es posible conectarse a la base de datos, favor de verificar. ");
    frmAdvertencia* dialogo = Mostrar(largo);
    auto* mensaje = dialogo->findChild<QLabel*>(QStringLiteral("lblMensaje"));
    EXPECT_EQ(dialogo->width(), 350);
    EXPECT_GT(dialogo->height(), 142);
    EXPECT_GE(mensaje->height(), mensaje->heightForWidth(mensaje->width()));
    EXPECT_LE(mensaje->geometry().bottom(), Boton(dialogo)->y());
    EXPECT_LE(Boton(dialogo)->geometry().bottom(), dialogo->height());
}

}  // namespace
}  // namespace facturador::pruebas

#include <QLabel>
#include <QTest>

#include "Apoyo_Dialogos.h"
#include "ui/qt/Boton_Imagen.h"

namespace facturador::pruebas {
namespace {

// The two dialogs shown without a modal loop, so the test can send them events.
class Dialogos : public Prueba_Dialogos {
  protected:
    static frmAdvertencia* Advertencia(const QString& mensaje = QStringLiteral("Mensaje")) {
        frmAdvertencia* dialogo = frmAdvertencia::Instancia();
        dialogo->Preparar(QStringLiteral("Atención"), mensaje);
        dialogo->show();
        return dialogo;
    }
    static frmConfirmar_Operacion* Confirmacion() {
        frmConfirmar_Operacion* dialogo = frmConfirmar_Operacion::Instancia();
        dialogo->Preparar(QStringLiteral("ATENCION"), QStringLiteral("¿Reactivar?"));
        dialogo->show();
        return dialogo;
    }
    static Boton_Imagen* Boton(const QWidget* dialogo, const char* nombre) {
        return dialogo->findChild<Boton_Imagen*>(QLatin1String(nombre));
    }
    static bool Abierto() { return frmAdvertencia::Abierta() || frmConfirmar_Operacion::Abierta(); }
};

// Each picture button shows its pressed face while held; a release off it keeps the dialog open
// and the answer unchanged; a release on it, with any mouse button, acts and closes the dialog
// (the message dialog leaves the answer alone).
TEST_F(Dialogos, APictureButtonActsOnlyWhenReleasedOverItWithAnyMouseButton) {
    const struct {
        QWidget* (*abrir)();
        const char* boton;
        bool respuesta;
    } casos[] = {
        {[]() -> QWidget* { return Advertencia(); }, "picBoton_Aceptar", false},
        {[]() -> QWidget* { return Confirmacion(); }, "imgBoton_Aceptar", true},
        {[]() -> QWidget* { return Confirmacion(); }, "imgBoton_Cancelar", false},
    };
    for (const auto& caso : casos) {
        Boton_Imagen* boton = Boton(caso.abrir(), caso.boton);
        const bool pregunta = frmConfirmar_Operacion::Abierta() != nullptr;
        Confirmacion_Aceptada = !caso.respuesta;
        QTest::mousePress(boton, Qt::LeftButton);
        EXPECT_TRUE(boton->Presionado()) << caso.boton;
        QTest::mouseRelease(boton, Qt::LeftButton, {}, QPoint(boton->width() + 3, 5));
        EXPECT_FALSE(boton->Presionado()) << caso.boton;
        EXPECT_TRUE(Abierto()) << caso.boton;
        QTest::mousePress(boton, Qt::RightButton);
        QTest::mouseRelease(boton, Qt::RightButton, {},
                            QPoint(boton->width() - 1, boton->height() - 1));
        EXPECT_FALSE(Abierto()) << caso.boton;
        EXPECT_EQ(Confirmacion_Aceptada, pregunta == caso.respuesta) << caso.boton;
    }
}

// Only an Enter that went down and came up on the button closes the message dialog (the keypad's
// too); other keys, an Enter that went down elsewhere, and closing the window do nothing.
TEST_F(Dialogos, TheMessageClosesOnAnEnterPressedAndReleasedOnItsButton) {
    frmAdvertencia* dialogo = Advertencia();
    Boton_Imagen* boton = Boton(dialogo, "picBoton_Aceptar");
    QTest::keyRelease(boton, Qt::Key_Return);
    QTest::keyClick(boton, Qt::Key_Space);
    QTest::keyClick(boton, Qt::Key_Escape);
    QTest::keyClick(dialogo, Qt::Key_Escape);
    EXPECT_FALSE(dialogo->close());
    QTest::keyPress(boton, Qt::Key_Return);
    EXPECT_TRUE(boton->Presionado());
    EXPECT_EQ(frmAdvertencia::Abierta(), dialogo);
    QTest::keyRelease(boton, Qt::Key_Return);
    EXPECT_EQ(frmAdvertencia::Abierta(), nullptr);

    QTest::keyClick(Boton(Advertencia(), "picBoton_Aceptar"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(frmAdvertencia::Abierta(), nullptr);
}

// Alt+N and Alt+S (either case, from any part of the window) press the button while the key is
// down and answer when it comes up; other keys and other modifiers do nothing.
TEST_F(Dialogos, TheQuestionAnswersToAltSAndAltNOnly) {
    frmConfirmar_Operacion* dialogo = Confirmacion();
    QWidget* mensaje = dialogo->findChild<QLabel*>(QStringLiteral("lblMensaje"));
    for (QWidget* destino : {static_cast<QWidget*>(dialogo), mensaje}) {
        for (const auto tecla : {Qt::Key_S, Qt::Key_N, Qt::Key_Return, Qt::Key_Escape})
            QTest::keyClick(destino, tecla);
        QTest::keyClick(destino, Qt::Key_S, Qt::ShiftModifier);
        QTest::keyClick(destino, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
        QTest::keyClick(destino, Qt::Key_N, Qt::AltModifier | Qt::ShiftModifier);
        QTest::keyClick(destino, Qt::Key_A, Qt::AltModifier);
    }
    EXPECT_FALSE(dialogo->close());
    EXPECT_FALSE(Boton(dialogo, "imgBoton_Aceptar")->Presionado());
    QTest::keyPress(dialogo, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(Boton(dialogo, "imgBoton_Cancelar")->Presionado());
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), dialogo);
    QTest::keyRelease(dialogo, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), nullptr);
    EXPECT_FALSE(Confirmacion_Aceptada);

    mensaje = Confirmacion()->findChild<QLabel*>(QStringLiteral("lblMensaje"));
    QTest::keyClick(mensaje, 's', Qt::AltModifier);
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), nullptr);
    EXPECT_TRUE(Confirmacion_Aceptada);
    Confirmacion();
    EXPECT_FALSE(Confirmacion_Aceptada) << "a new question forgets the last answer";
}

// The message dialog belongs to the main window and grows taller, not wider, for a long message.
TEST_F(Dialogos, TheMessageFitsItsText) {
    QWidget frmAplicacion;
    frmAplicacion.setObjectName(QStringLiteral("frmAplicacion"));
    frmAdvertencia* corta = Advertencia();
    EXPECT_EQ(corta->parentWidget(), &frmAplicacion);
    const QSize tamano_corta = corta->size();
    QTest::mouseClick(Boton(corta, "picBoton_Aceptar"), Qt::LeftButton);
    frmAdvertencia* larga =
        Advertencia(QStringLiteral("No es posible conectarse a la base de datos. ").repeated(12));
    QLabel* mensaje = larga->findChild<QLabel*>(QStringLiteral("lblMensaje"));
    EXPECT_EQ(larga->width(), tamano_corta.width());
    EXPECT_GT(larga->height(), tamano_corta.height());
    EXPECT_GE(mensaje->height(), mensaje->heightForWidth(mensaje->width()));
    EXPECT_LE(mensaje->geometry().bottom(), Boton(larga, "picBoton_Aceptar")->y());
}

}  // namespace
}  // namespace facturador::pruebas

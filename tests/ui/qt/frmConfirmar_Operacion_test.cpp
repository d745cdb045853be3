#include "ui/qt/frmConfirmar_Operacion.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "Apoyo_Dialogos.h"
#include "ui/qt/Boton_Imagen.h"

namespace facturador::pruebas {
namespace {

class frmConfirmar_Operacion_Prueba : public Prueba_Dialogos {
  protected:
    // Shows the dialog without a modal loop, so the test can send it events.
    void SetUp() override {
        Prueba_Dialogos::SetUp();
        dialogo = frmConfirmar_Operacion::Instancia();
        dialogo->Preparar(QStringLiteral("ATENCION"), QStringLiteral("¿Reactivar?"));
        dialogo->show();
        si = dialogo->findChild<Boton_Imagen*>(QStringLiteral("imgBoton_Aceptar"));
        no = dialogo->findChild<Boton_Imagen*>(QStringLiteral("imgBoton_Cancelar"));
    }
    QWidget* Mensaje() const { return dialogo->findChild<QLabel*>(QStringLiteral("lblMensaje")); }

    frmConfirmar_Operacion* dialogo = nullptr;
    Boton_Imagen* si = nullptr;
    Boton_Imagen* no = nullptr;
};

TEST_F(frmConfirmar_Operacion_Prueba, alt_s_and_alt_n_answer_in_either_case_from_any_part) {
    // Alt+N shows the pressed face until the key comes up, and only then answers.
    QTest::keyPress(dialogo, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(no->Presionado());
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), dialogo);
    QTest::keyRelease(dialogo, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), nullptr);
    EXPECT_FALSE(Confirmacion_Aceptada);

    SetUp();
    QTest::keyClick(Mensaje(), 's', Qt::AltModifier);
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), nullptr);
    EXPECT_TRUE(Confirmacion_Aceptada);
}

TEST_F(frmConfirmar_Operacion_Prueba, other_keys_and_other_modifiers_do_nothing) {
    for (QWidget* destino :
         {static_cast<QWidget*>(dialogo), Mensaje(), static_cast<QWidget*>(no)}) {
        QTest::keyClick(destino, Qt::Key_S);
        QTest::keyClick(destino, Qt::Key_N);
        QTest::keyClick(destino, Qt::Key_S, Qt::ShiftModifier);
        QTest::keyClick(destino, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
        QTest::keyClick(destino, Qt::Key_N, Qt::AltModifier | Qt::ShiftModifier);
        QTest::keyClick(destino, Qt::Key_A, Qt::AltModifier);
        QTest::keyClick(destino, Qt::Key_Return);
        QTest::keyClick(destino, Qt::Key_Escape);
    }
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), dialogo);
    EXPECT_FALSE(dialogo->close());
    EXPECT_FALSE(si->Presionado());
    EXPECT_FALSE(no->Presionado());
}

TEST_F(frmConfirmar_Operacion_Prueba,
       a_release_off_a_button_does_nothing_any_mouse_button_answers) {
    QTest::mousePress(si, Qt::LeftButton);
    EXPECT_TRUE(si->Presionado());
    QTest::mouseRelease(si, Qt::LeftButton, {}, QPoint(-2, 5));
    EXPECT_FALSE(si->Presionado());
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), dialogo);
    EXPECT_FALSE(Confirmacion_Aceptada);

    QTest::mouseClick(si, Qt::RightButton);
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), nullptr);
    EXPECT_TRUE(Confirmacion_Aceptada);

    // A new question forgets the last answer; "no" by mouse leaves it false.
    SetUp();
    EXPECT_FALSE(Confirmacion_Aceptada);
    QTest::mouseClick(no, Qt::LeftButton);
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), nullptr);
    EXPECT_FALSE(Confirmacion_Aceptada);
}

TEST_F(frmConfirmar_Operacion_Prueba, the_window_takes_the_outline_of_its_background) {
    const QRegion forma = dialogo->mask();
    EXPECT_FALSE(forma.contains(QPoint(0, 0)));
    EXPECT_TRUE(forma.contains(dialogo->rect().center()));
    for (const QRect boton : {si->geometry(), no->geometry()})
        EXPECT_EQ(forma.intersected(boton), QRegion(boton));
}

}  // namespace
}  // namespace facturador::pruebas

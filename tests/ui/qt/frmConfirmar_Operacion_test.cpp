#include "ui/qt/frmConfirmar_Operacion.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "Apoyo_Dialogos.h"
#include "ui/qt/Boton_Imagen.h"

namespace facturador::pruebas {
namespace {

const QString Reactivar = QStringLiteral(
    "Se reactivarán las Solicitudes de Facturas ingresadas a partir del 31-julio-2024 y que "
    "quedaron como Rechazadas.");

class frmConfirmar_Operacion_Prueba : public Prueba_Dialogos {
  protected:
    // Shows the dialog without a modal loop, so the test can send it events.
    frmConfirmar_Operacion* Mostrar() {
        frmConfirmar_Operacion* dialogo = frmConfirmar_Operacion::Instancia();
        dialogo->Preparar(QStringLiteral("ATENCION"), Reactivar);
        dialogo->show();
        return dialogo;
    }
    template <class T>
    static T* Parte(frmConfirmar_Operacion* dialogo, const char* nombre) {
        return dialogo->findChild<T*>(QLatin1String(nombre));
    }
    static Boton_Imagen* Si(frmConfirmar_Operacion* d) {
        return Parte<Boton_Imagen>(d, "imgBoton_Aceptar");
    }
    static Boton_Imagen* No(frmConfirmar_Operacion* d) {
        return Parte<Boton_Imagen>(d, "imgBoton_Cancelar");
    }
};

TEST_F(frmConfirmar_Operacion_Prueba, answers_through_alt_s_and_alt_n_in_either_case) {
    Al_Abrirse(
        [] { QTest::keyClick(frmConfirmar_Operacion::Abierta(), Qt::Key_S, Qt::AltModifier); });
    EXPECT_TRUE(Pedir_Confirmacion(QStringLiteral("ATENCION"), Reactivar));
    EXPECT_TRUE(Confirmacion_Aceptada);

    Al_Abrirse([] { QTest::keyClick(frmConfirmar_Operacion::Abierta(), 'n', Qt::AltModifier); });
    EXPECT_FALSE(Pedir_Confirmacion(QStringLiteral("ATENCION"), Reactivar));
    EXPECT_FALSE(Confirmacion_Aceptada);

    frmConfirmar_Operacion* dialogo = Mostrar();
    QTest::keyClick(Parte<QLabel>(dialogo, "lblMensaje"), 's', Qt::AltModifier);
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), nullptr);
    EXPECT_TRUE(Confirmacion_Aceptada);
}

TEST_F(frmConfirmar_Operacion_Prueba, other_keys_and_other_modifiers_do_nothing) {
    frmConfirmar_Operacion* dialogo = Mostrar();
    for (QWidget* destino : {static_cast<QWidget*>(dialogo), Parte<QWidget>(dialogo, "lblMensaje"),
                             static_cast<QWidget*>(No(dialogo))}) {
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
    EXPECT_FALSE(Si(dialogo)->Presionado());
    EXPECT_FALSE(No(dialogo)->Presionado());
}

TEST_F(frmConfirmar_Operacion_Prueba, the_shortcut_shows_the_pressed_face_until_the_key_comes_up) {
    frmConfirmar_Operacion* dialogo = Mostrar();
    QTest::keyPress(dialogo, Qt::Key_N, Qt::AltModifier);
    EXPECT_TRUE(No(dialogo)->Presionado());
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), dialogo);
    QTest::keyRelease(dialogo, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), nullptr);
    EXPECT_FALSE(Confirmacion_Aceptada);
}

TEST_F(frmConfirmar_Operacion_Prueba, releasing_off_a_button_keeps_the_question_open) {
    frmConfirmar_Operacion* dialogo = Mostrar();
    Boton_Imagen* si = Si(dialogo);
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
    dialogo = Mostrar();
    EXPECT_FALSE(Confirmacion_Aceptada);
    QTest::mouseClick(No(dialogo), Qt::LeftButton);
    EXPECT_EQ(frmConfirmar_Operacion::Abierta(), nullptr);
    EXPECT_FALSE(Confirmacion_Aceptada);
}

TEST_F(frmConfirmar_Operacion_Prueba, the_window_takes_the_outline_of_its_background) {
    frmConfirmar_Operacion* dialogo = Mostrar();
    EXPECT_EQ(dialogo->size(), QSize(420, 206));
    const QRegion forma = dialogo->mask();
    for (const QPoint esquina : {QPoint(0, 0), QPoint(419, 0), QPoint(0, 205), QPoint(419, 205),
                                 QPoint(2, 2), QPoint(417, 203)})
        EXPECT_FALSE(forma.contains(esquina)) << esquina.x() << "," << esquina.y();
    for (const QPoint dentro :
         {QPoint(210, 0), QPoint(0, 103), QPoint(419, 103), QPoint(210, 205), QPoint(210, 103)})
        EXPECT_TRUE(forma.contains(dentro)) << dentro.x() << "," << dentro.y();
    for (const QRect boton : {Si(dialogo)->geometry(), No(dialogo)->geometry()})
        EXPECT_EQ(forma.intersected(boton), QRegion(boton));
    EXPECT_EQ(Si(dialogo)->pos(), QPoint(276, 176));
    EXPECT_EQ(No(dialogo)->pos(), QPoint(60, 176));
    EXPECT_EQ(Parte<QLabel>(dialogo, "lblEncabezado")->text(), QStringLiteral("ATENCION"));
    EXPECT_EQ(Parte<QLabel>(dialogo, "lblEncabezado2")->text(), QStringLiteral("ATENCION"));
}

}  // namespace
}  // namespace facturador::pruebas

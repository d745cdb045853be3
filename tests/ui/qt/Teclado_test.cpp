#include "ui/qt/Teclado.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

namespace facturador::pruebas {
namespace {

// A window shaped like the cancellation window's entry boxes.
class Teclado_Prueba : public testing::Test {
  protected:
    void SetUp() override {
        auto* columna = new QVBoxLayout(&ventana);
        for (QLineEdit* caja : {txtSerie, txtNro, txtMotivo})
            columna->addWidget(caja);
        Instalar_Teclado(txtSerie, Filtro_Caja::Mayusculas, Enter_Caja::Descartar);
        Instalar_Teclado(txtNro, Filtro_Caja::Solo_Numeros, Enter_Caja::Descartar);
        Instalar_Teclado(txtMotivo, Filtro_Caja::Ninguno, Enter_Caja::Conservar);
        ventana.show();
        ventana.activateWindow();
        QCoreApplication::processEvents();
    }

    // Types Enter in `caja` and lets the queued Tab arrive.
    void Enter_En(QWidget* caja) {
        caja->setFocus();
        QTest::keyClick(caja, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    QWidget ventana;
    QLineEdit* txtSerie = new QLineEdit(&ventana);
    QLineEdit* txtNro = new QLineEdit(&ventana);
    QLineEdit* txtMotivo = new QLineEdit(&ventana);
};

TEST_F(Teclado_Prueba, typed_keys_are_filtered_per_box_digits_only_or_upper_case) {
    QTest::keyClicks(txtNro, "1a 2-3.b");
    QTest::keyClick(txtNro, Qt::Key_Backspace);
    QTest::keyClick(txtNro, Qt::Key_7, Qt::KeypadModifier);
    QTest::keyClick(txtNro, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(txtNro->text(), QStringLiteral("127"));
    // Editing keys are not typed characters and keep working.
    QTest::keyClick(txtNro, Qt::Key_Home);
    QTest::keyClick(txtNro, Qt::Key_Delete);
    EXPECT_EQ(txtNro->text(), QStringLiteral("27"));

    QTest::keyClicks(txtSerie, "ab-1");
    QTest::keyClick(txtSerie, Qt::Key_Ntilde);
    EXPECT_EQ(txtSerie->text(), QStringLiteral("AB-1Ñ"));
    QTest::keyClicks(txtMotivo, "Sin Filtro");
    EXPECT_EQ(txtMotivo->text(), QStringLiteral("Sin Filtro"));
}

TEST_F(Teclado_Prueba, enter_moves_the_focus_on_like_tab_and_reaches_only_the_boxes_that_keep_it) {
    int en_serie = 0, en_motivo = 0;
    QObject::connect(txtSerie, &QLineEdit::returnPressed, [&] { ++en_serie; });
    QObject::connect(txtMotivo, &QLineEdit::returnPressed, [&] { ++en_motivo; });
    Enter_En(txtSerie);
    EXPECT_EQ(QApplication::focusWidget(), txtNro);
    Enter_En(txtNro);
    EXPECT_EQ(QApplication::focusWidget(), txtMotivo);
    Enter_En(txtMotivo);
    EXPECT_EQ(QApplication::focusWidget(), txtSerie);  // also from the last box
    EXPECT_EQ(en_serie, 0);
    EXPECT_EQ(en_motivo, 1);

    // An editable combo box takes the same keyboard.
    QComboBox cboEstado(&ventana);
    cboEstado.setEditable(true);
    ventana.layout()->addWidget(&cboEstado);
    Instalar_Teclado(&cboEstado, Filtro_Caja::Ninguno, Enter_Caja::Conservar);
    Enter_En(&cboEstado);
    EXPECT_NE(QApplication::focusWidget(), &cboEstado);
}

}  // namespace
}  // namespace facturador::pruebas

#include "ui/qt/Teclado.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
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

TEST_F(Teclado_Prueba, a_digits_only_box_takes_typed_digits_backspace_and_the_keypad) {
    QTest::keyClicks(txtNro, "1a 2-3.b");
    EXPECT_EQ(txtNro->text(), QStringLiteral("123"));
    QTest::keyClick(txtNro, Qt::Key_Backspace);
    EXPECT_EQ(txtNro->text(), QStringLiteral("12"));
    QTest::keyClick(txtNro, Qt::Key_7, Qt::KeypadModifier);
    QTest::keyClick(txtNro, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(txtNro->text(), QStringLiteral("127"));
    // Editing keys are not typed characters and keep working.
    QTest::keyClick(txtNro, Qt::Key_Home);
    QTest::keyClick(txtNro, Qt::Key_Delete);
    EXPECT_EQ(txtNro->text(), QStringLiteral("27"));
}

TEST_F(Teclado_Prueba, an_upper_case_box_shows_typed_letters_in_upper_case) {
    QTest::keyClicks(txtSerie, "ab-1");
    QTest::keyClick(txtSerie, Qt::Key_Ntilde, Qt::NoModifier);
    EXPECT_EQ(txtSerie->text(), QStringLiteral("AB-1Ñ"));
    QTest::keyClicks(txtMotivo, "Sin Filtro");
    EXPECT_EQ(txtMotivo->text(), QStringLiteral("Sin Filtro"));
}

TEST_F(Teclado_Prueba, pasted_text_reaches_the_box_unfiltered) {
    QApplication::clipboard()->setText(QStringLiteral("a-1"));
    QTest::keyClick(txtNro, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(txtNro->text(), QStringLiteral("a-1"));
    QTest::keyClick(txtSerie, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(txtSerie->text(), QStringLiteral("a-1"));
}

TEST_F(Teclado_Prueba, enter_moves_the_focus_on_like_tab_also_from_the_last_box) {
    Enter_En(txtSerie);
    EXPECT_EQ(QApplication::focusWidget(), txtNro);
    Enter_En(txtNro);
    EXPECT_EQ(QApplication::focusWidget(), txtMotivo);
    Enter_En(txtMotivo);
    EXPECT_EQ(QApplication::focusWidget(), txtSerie);
}

TEST_F(Teclado_Prueba, enter_reaches_the_box_only_where_it_is_kept) {
    int en_serie = 0, en_motivo = 0;
    QObject::connect(txtSerie, &QLineEdit::returnPressed, [&] { ++en_serie; });
    QObject::connect(txtMotivo, &QLineEdit::returnPressed, [&] { ++en_motivo; });
    Enter_En(txtSerie);
    Enter_En(txtMotivo);
    EXPECT_EQ(en_serie, 0);
    EXPECT_EQ(en_motivo, 1);
}

TEST_F(Teclado_Prueba, an_enter_action_runs_instead_of_the_focus_move) {
    QLineEdit txtIP(&ventana);
    ventana.layout()->addWidget(&txtIP);
    int guardados = 0, en_caja = 0;
    Instalar_Teclado(&txtIP, Filtro_Caja::Ninguno, Enter_Caja::Conservar, [&] { ++guardados; });
    QObject::connect(&txtIP, &QLineEdit::returnPressed, [&] { ++en_caja; });
    Enter_En(&txtIP);
    EXPECT_EQ(guardados, 1);
    EXPECT_EQ(en_caja, 1);
    EXPECT_EQ(QApplication::focusWidget(), &txtIP);
}

TEST_F(Teclado_Prueba, works_on_an_editable_combo_box) {
    QComboBox cboEstado(&ventana);
    cboEstado.setEditable(true);
    ventana.layout()->addWidget(&cboEstado);
    Instalar_Teclado(&cboEstado, Filtro_Caja::Mayusculas, Enter_Caja::Conservar);
    QTest::keyClicks(&cboEstado, "jalisco");
    EXPECT_EQ(cboEstado.currentText(), QStringLiteral("JALISCO"));
    Enter_En(&cboEstado);
    EXPECT_NE(QApplication::focusWidget(), &cboEstado);
}

}  // namespace
}  // namespace facturador::pruebas

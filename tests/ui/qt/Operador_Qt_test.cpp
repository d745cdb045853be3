#include "ui/qt/Operador_Qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "Apoyo_Dialogos.h"

namespace facturador::pruebas {
namespace {

using Operador_Qt_Prueba = Prueba_Dialogos;

TEST_F(Operador_Qt_Prueba, asks_and_tells_through_the_dialogs) {
    Operador_Qt operador;
    Al_Abrirse(
        [] { QTest::keyClick(frmConfirmar_Operacion::Abierta(), Qt::Key_S, Qt::AltModifier); });
    EXPECT_TRUE(operador.Pedir_Confirmacion("ATENCION", "¿Continuar?"));

    // The message dialog is modal and shows heading and message as given.
    QString encabezado, mensaje;
    Al_Abrirse([&] {
        frmAdvertencia* dialogo = frmAdvertencia::Abierta();
        ASSERT_NE(dialogo, nullptr);
        EXPECT_TRUE(dialogo->isModal());
        encabezado = dialogo->findChild<QLabel*>(QStringLiteral("lblEncabezado"))->text();
        mensaje = dialogo->findChild<QLabel*>(QStringLiteral("lblMensaje"))->text();
        QTest::mouseClick(dialogo->findChild<QWidget*>(QStringLiteral("picBoton_Aceptar")),
                          Qt::LeftButton);
    });
    operador.Mostrar_Advertencia("Atención", "Se almacenó la configuración");
    EXPECT_EQ(encabezado, QStringLiteral("Atención"));
    EXPECT_EQ(mensaje, QStringLiteral("Se almacenó la configuración"));
    EXPECT_EQ(frmAdvertencia::Abierta(), nullptr);
}

// Right after a message dialog has closed (its deletion still pending) the standard message box
// must not belong to it, or deleting the dialog would take the box with it.
TEST_F(Operador_Qt_Prueba, the_standard_message_shows_title_and_text_as_given) {
    Operador_Qt operador;
    Al_Abrirse([] {
        QTest::mouseClick(
            frmAdvertencia::Abierta()->findChild<QWidget*>(QStringLiteral("picBoton_Aceptar")),
            Qt::LeftButton);
    });
    operador.Mostrar_Advertencia("Atención", "Primero");
    QString titulo, texto;
    QTimer::singleShot(0, [&] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(caja, nullptr);
        titulo = caja->windowTitle();
        texto = caja->text();
        caja->button(QMessageBox::Ok)->click();
    });
    operador.Mensaje_Estandar("Error <b>1045</b>: acceso denegado", "Facturación");
    EXPECT_EQ(titulo, QStringLiteral("Facturación"));
    EXPECT_EQ(texto, QStringLiteral("Error <b>1045</b>: acceso denegado"));
}

}  // namespace
}  // namespace facturador::pruebas

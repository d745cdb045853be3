#include "ui/qt/Operador_Qt.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <cstring>

#include "Apoyo_Dialogos.h"
#include "apoyo/Entorno_Pruebas.h"
#include "data/Log.h"
#include "platform/Archivos.h"
#include "ui/qt/Traducciones_Qt.h"

namespace facturador::pruebas {
namespace {

using Operador_Qt_Prueba = Prueba_Dialogos;

constexpr auto kCon_Pantalla = Operador_Qt::Pantalla::Presente;

// The question answers what the operator chose; the message dialog is modal and shows heading and
// message as given. Right after it has closed (its deletion still pending) the standard message box
// must not belong to it, or deleting the dialog would take the box with it. Its button speaks
// Spanish once Qt's translations are in place.
TEST_F(Operador_Qt_Prueba, asks_and_tells_through_the_dialogs_and_the_standard_box_in_spanish) {
    ASSERT_TRUE(Cargar_Traducciones_Qt(*QCoreApplication::instance()));
    Operador_Qt operador({}, kCon_Pantalla);
    Al_Abrirse(
        [] { QTest::keyClick(frmConfirmar_Operacion::Abierta(), Qt::Key_S, Qt::AltModifier); });
    EXPECT_TRUE(operador.Pedir_Confirmacion("ATENCION", "¿Continuar?"));
    QString mostrado;
    Al_Abrirse([&] {
        frmAdvertencia* dialogo = frmAdvertencia::Abierta();
        ASSERT_NE(dialogo, nullptr);
        EXPECT_TRUE(dialogo->isModal());
        mostrado = dialogo->findChild<QLabel*>(QStringLiteral("lblEncabezado"))->text() + "|" +
                   dialogo->findChild<QLabel*>(QStringLiteral("lblMensaje"))->text();
        QTest::mouseClick(dialogo->findChild<QWidget*>(QStringLiteral("picBoton_Aceptar")),
                          Qt::LeftButton);
    });
    operador.Mostrar_Advertencia("Atención", "Se almacenó la configuración");
    EXPECT_EQ(mostrado, QStringLiteral("Atención|Se almacenó la configuración"));
    QTimer::singleShot(0, [&] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(caja, nullptr);
        mostrado =
            caja->windowTitle() + "|" + caja->text() + "|" + caja->button(QMessageBox::Ok)->text();
        caja->button(QMessageBox::Ok)->click();
    });
    operador.Mensaje_Estandar("Error <b>1045</b>: acceso denegado", "Facturación");
    EXPECT_EQ(mostrado, QStringLiteral("Facturación|Error <b>1045</b>: acceso denegado|Aceptar"));
}

// The tests run on the offscreen platform, where nobody can answer: nothing may wait for a click.
// A box left open would fail the test and be closed instead of hanging it.
TEST_F(Operador_Qt_Prueba, without_a_display_nothing_waits_and_nothing_is_confirmed) {
    QTimer::singleShot(0, [] {
        if (QWidget* abierta = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a modal window waits for the operator";
            abierta->close();
        }
    });
    Entorno_Pruebas entorno;
    std::vector<std::string> registradas;
    bool ruta_pedida = false;
    Operador_Qt operador([&] { ruta_pedida = true; }, Operador_Qt::Pantalla::Segun_Plataforma,
                         [&](const std::string& linea) { registradas.push_back(linea); });
    ASSERT_TRUE(operador.Sin_Ventanas());
    operador.Mensaje_Estandar("Error en solicitud: 7", "Error en generar archivos para timbrar");
    operador.Mostrar_Advertencia("Atención", "Se almacenó la configuración");
    Confirmacion_Aceptada = true;
    EXPECT_FALSE(operador.Pedir_Confirmacion("ATENCION", "¿Reactivar?"));
    EXPECT_FALSE(Confirmacion_Aceptada);
    operador.Configurar_Ruta_BD();
    EXPECT_FALSE(ruta_pedida);
    EXPECT_TRUE(operador.Ruta_BD_Sin_Respuesta());
    QCoreApplication::processEvents();
    ASSERT_EQ(registradas.size(), 4u);
    EXPECT_EQ(registradas[0], "Error en generar archivos para timbrar: Error en solicitud: 7");
    EXPECT_EQ(registradas[1], "Atención: Se almacenó la configuración");
    EXPECT_EQ(registradas[2], "ATENCION: ¿Reactivar? (sin operador: se responde No)");
    EXPECT_TRUE(registradas[3].starts_with("Configurar ruta de la base de datos principal: "));

    // A failure repeated on every cycle is written once a minute.
    operador.Mensaje_Estandar("Error en solicitud: 7", "Error en generar archivos para timbrar");
    entorno.reloj.Avanzar_Segundos(60);
    operador.Mensaje_Estandar("Error en solicitud: 7", "Error en generar archivos para timbrar");
    EXPECT_EQ(registradas.size(), 5u);
}

// The daily log reports its own write failure through the standard box, which without a display
// goes to the daily log: it is told once on standard error, and the program goes on.
TEST_F(Operador_Qt_Prueba, a_log_that_cannot_be_written_is_told_once_without_a_display) {
    Entorno_Pruebas entorno;
    Operador_Qt operador({}, Operador_Qt::Pantalla::Ausente, Escribir_Aviso);
    Entorno_Actual().operador = &operador;
    const std::string carpeta = Unir_Ruta(entorno.Carpeta(), "no_existe");
    Entorno_Actual().carpeta_programa = carpeta;
    testing::internal::CaptureStderr();
    Escribir_Log("perdido");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "perdido\nError al actualizar archivo Log: error: " + std::to_string(ENOENT) + " - " +
                  std::strerror(ENOENT) + ": " + Unir_Ruta(carpeta, "log_05_12_2026.txt") + "\n");
}

}  // namespace
}  // namespace facturador::pruebas

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
#include "ui/qt/Boton_Imagen.h"
#include "ui/qt/Traducciones_Qt.h"

namespace facturador::pruebas {
namespace {

using Operador_Qt_Prueba = Prueba_Dialogos;

constexpr auto kCon_Pantalla = Operador_Qt::Pantalla::Presente;

// The question answers the operator's choice; the modal message shows heading and text as given.
// The standard box shown while the closed message awaits deletion must not belong to it (it would
// go with it), and its button speaks Spanish once Qt's translations are in place.
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
    ASSERT_TRUE(operador.Sin_Pantalla());
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

    // A failure repeated on every cycle is written once an hour.
    entorno.reloj.Avanzar_Segundos(3599);
    operador.Mensaje_Estandar("Error en solicitud: 7", "Error en generar archivos para timbrar");
    EXPECT_EQ(registradas.size(), 4u);
}

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

// A picture button shows its pressed face while held; released off it, nothing happens; released
// on it, with any mouse button, it acts and closes (the message leaves the answer alone).
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

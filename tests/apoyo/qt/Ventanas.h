#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QWidget>

namespace facturador::pruebas {

// The control of a window by its object name; the test fails when the window has none.
template <typename Control = QWidget>
Control* Control_De(const QWidget& ventana, const char* nombre) {
    Control* control = ventana.findChild<Control*>(QString::fromLatin1(nombre));
    EXPECT_NE(control, nullptr) << nombre;
    return control;
}

// Shows the window as the active one and waits until it is on screen.
inline bool Mostrar_Ventana(QWidget& ventana) {
    ventana.show();
    ventana.activateWindow();
    return QTest::qWaitForWindowExposed(&ventana);
}

// Types `texto` and Enter into a box, and lets the key the box turns Enter into arrive.
inline void Teclear_Y_Enter(QWidget* caja, const char* texto = "") {
    caja->setFocus();
    QTest::keyClicks(caja, texto);
    QTest::keyClick(caja, Qt::Key_Return);
    QCoreApplication::processEvents();
}

}  // namespace facturador::pruebas

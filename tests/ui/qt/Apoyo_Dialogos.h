#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <functional>

#include "ui/qt/frmAdvertencia.h"
#include "ui/qt/frmConfirmar_Operacion.h"

namespace facturador::pruebas {

// Deletes whatever dialog a test left open and runs the pending releases of closed ones.
inline void Liberar_Dialogos() {
    delete frmAdvertencia::Abierta();
    delete frmConfirmar_Operacion::Abierta();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs `accion` once the next modal dialog is up. A dialog the action leaves open is deleted,
// which ends its modal loop, so a failing test reports instead of hanging.
inline void Al_Abrirse(std::function<void()> accion) {
    QTimer::singleShot(0, [accion] {
        accion();
        if (frmAdvertencia::Abierta() || frmConfirmar_Operacion::Abierta()) {
            ADD_FAILURE() << "the dialog is still open";
            Liberar_Dialogos();
        }
    });
}

class Prueba_Dialogos : public testing::Test {
  protected:
    void SetUp() override { Confirmacion_Aceptada = false; }
    void TearDown() override { Liberar_Dialogos(); }
};

}  // namespace facturador::pruebas

#include "ui/qt/Dialogo_Pintado.h"

#include <QGuiApplication>
#include <QScreen>

namespace facturador {

Dialogo_Pintado::Dialogo_Pintado(QSize tamano, QWidget* dueno)
    : QDialog(dueno, Qt::Tool | Qt::FramelessWindowHint) {
    // The program lives in the notification area: closing a dialog must never end it, even
    // when no other window is showing.
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(true);
    setFixedSize(tamano);
}

void Dialogo_Pintado::Centrar_En_Pantalla(int bajar) {
    const QScreen* pantalla = QGuiApplication::primaryScreen();
    if (!pantalla)
        return;
    const QRect area = pantalla->geometry();
    move(area.x() + (area.width() - width()) / 2,
         area.y() + (area.height() - height()) / 2 + bajar);
}

// Some platforms show tool windows without giving them the keyboard, and these dialogs are
// answered from the keyboard too.
void Dialogo_Pintado::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    raise();
    activateWindow();
}

void Dialogo_Pintado::Cerrar() {
    if (cerrado_)
        return;
    cerrado_ = true;
    done(QDialog::Accepted);
    deleteLater();
}

}  // namespace facturador

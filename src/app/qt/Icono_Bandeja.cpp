#include "app/qt/Icono_Bandeja.h"

namespace facturador {

int Mensaje_Bandeja(QSystemTrayIcon::ActivationReason razon) {
    switch (razon) {
        case QSystemTrayIcon::Context:
            return kMensaje_Clic_Derecho;
        case QSystemTrayIcon::Trigger:
            return kMensaje_Clic_Izquierdo;
        case QSystemTrayIcon::DoubleClick:
            return kMensaje_Doble_Clic;
        case QSystemTrayIcon::MiddleClick:
            return kMensaje_Clic_Central;
        case QSystemTrayIcon::Unknown:
            break;
    }
    return kMensaje_Movimiento;
}

bool Icono_Bandeja::Colocar(const QIcon& icono) {
    if (icono_)
        return true;
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    icono_ = new QSystemTrayIcon(icono, this);
    icono_->setToolTip(QString::fromUtf8(kTip_Bandeja));
    connect(
        icono_, &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason razon) { emit Mensaje(Mensaje_Bandeja(razon)); });
    icono_->show();
    return true;
}

void Icono_Bandeja::Quitar() {
    if (!icono_)
        return;
    icono_->hide();
    delete icono_;
    icono_ = nullptr;
}

}  // namespace facturador

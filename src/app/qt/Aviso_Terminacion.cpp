#include "app/qt/Aviso_Terminacion.h"

#include <QSocketNotifier>

namespace facturador {

Aviso_Terminacion::Aviso_Terminacion(QObject* padre) : QObject(padre) {
    notificador_ = new QSocketNotifier(senal_.Descriptor(), QSocketNotifier::Read, this);
    connect(notificador_, &QSocketNotifier::activated, this, &Aviso_Terminacion::Leer_Aviso);
}

// The notifier goes before the socket pair it watches.
Aviso_Terminacion::~Aviso_Terminacion() {
    delete notificador_;
}

void Aviso_Terminacion::Leer_Aviso() {
    if (senal_.Leer())
        emit Terminacion_Pedida();
}

}  // namespace facturador

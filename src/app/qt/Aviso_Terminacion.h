#pragma once

#include <QObject>

#include "platform/Senal_Terminacion.h"

class QSocketNotifier;

namespace facturador {

// SIGTERM and SIGINT as a signal of the event loop (see Senal_Terminacion), read when the loop is
// free, so that the program ends as if the operator had closed it.
class Aviso_Terminacion : public QObject {
    Q_OBJECT

  public:
    explicit Aviso_Terminacion(QObject* padre = nullptr);
    ~Aviso_Terminacion() override;
    Aviso_Terminacion(const Aviso_Terminacion&) = delete;
    Aviso_Terminacion& operator=(const Aviso_Terminacion&) = delete;

  signals:
    void Terminacion_Pedida();

  private:
    void Leer_Aviso();

    Senal_Terminacion senal_;
    QSocketNotifier* notificador_ = nullptr;
};

}  // namespace facturador

#pragma once

#include <QObject>

class QSocketNotifier;

namespace facturador {

// Turns SIGTERM and SIGINT into a signal of the event loop, so that the program ends as if the
// operator had closed it: the handler only writes a byte into a socket pair, and the event loop
// reads it when it is free (never in the middle of a cycle's database work).
// One instance per process; the default handlers come back when it goes.
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

    QSocketNotifier* notificador_ = nullptr;
};

}  // namespace facturador

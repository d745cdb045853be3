#pragma once

#include <QObject>
#include <QSystemTrayIcon>

namespace facturador {

// Numbers of the icon events as the window has always received them, one per mouse action on
// the notification-area icon. Only the right button opens the window.
inline constexpr int kMensaje_Movimiento = 512;
inline constexpr int kMensaje_Clic_Izquierdo = 513;
inline constexpr int kMensaje_Doble_Clic = 515;
inline constexpr int kMensaje_Clic_Derecho = 516;
inline constexpr int kMensaje_Clic_Central = 519;

int Mensaje_Bandeja(QSystemTrayIcon::ActivationReason razon);

inline constexpr const char* kTip_Bandeja = "Hacer click para abrir el programa";

// The program's icon in the notification area, present from start-up until the program ends.
// Where the desktop has no notification area there is no icon and the program runs without it.
class Icono_Bandeja : public QObject {
    Q_OBJECT

  public:
    explicit Icono_Bandeja(QObject* padre = nullptr) : QObject(padre) {}

    // Adds the icon with the window's picture and the tip; false when there is no notification
    // area to put it in.
    bool Colocar(const QIcon& icono);
    void Quitar();
    bool Colocado() const { return icono_ != nullptr; }

  signals:
    void Mensaje(int numero);

  private:
    QSystemTrayIcon* icono_ = nullptr;
};

}  // namespace facturador

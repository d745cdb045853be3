#include "data/qt/Lugar_Aparte.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "platform/Conexion.h"
#include "ui/qt/Espera_Aparte.h"

namespace facturador {

namespace {

bool Es_Entrada(QEvent::Type tipo) {
    switch (tipo) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

// While it lives, the window's input (its own and its controls') is dropped before it arrives.
class Entrada_Retenida : public QObject {
  public:
    explicit Entrada_Retenida(QWidget* ventana) : ventana_(ventana) {
        qApp->installEventFilter(this);
        ventana_->setCursor(Qt::BusyCursor);
    }
    ~Entrada_Retenida() override { ventana_->unsetCursor(); }

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (!objeto->isWidgetType() || !Es_Entrada(evento->type()))
            return false;
        if (static_cast<QWidget*>(objeto)->window() != ventana_)
            return false;
        evento->ignore();
        return true;
    }

  private:
    QWidget* ventana_;
};

}  // namespace

bool Consultar_Aparte(const std::function<void(const Abrir_Central&)>& consulta) {
    return Esperar_Sin_Congelar([consulta, cadena = Cadena_Central_Vigente()] {
        consulta([&cadena](Conexion& conexion) { conexion.Abrir_Propia(cadena); });
    });
}

bool Lugar_Aparte::Ejecutar_Consulta(const std::function<void(const Abrir_Central&)>& consulta) {
    const Entrada_Retenida retenida(ventana_);
    return Consultar_Aparte(consulta);
}

}  // namespace facturador

#include "ui/qt/Teclado.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "ui/Solo_Numeros.h"

namespace facturador {

namespace {

bool Es_Enter(const QKeyEvent& tecla) {
    return tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter;
}

// A character typed into the box, as opposed to an editing key or a shortcut such as Ctrl+V.
// Ctrl together with Alt is AltGr on some keyboards, which types characters.
bool Es_Tecleo(const QKeyEvent& tecla) {
    const auto modificadores = tecla.modifiers();
    const bool atajo =
        (modificadores & Qt::MetaModifier) ||
        ((modificadores & Qt::ControlModifier) && !(modificadores & Qt::AltModifier));
    return !atajo && !tecla.text().isEmpty() && tecla.text().front().isPrint();
}

QString Filtrar(const QString& texto, Filtro_Caja filtro) {
    QString filtrado;
    for (const QChar caracter : texto) {
        if (filtro == Filtro_Caja::Mayusculas)
            filtrado += caracter.toUpper();
        else if (const char16_t codigo = Solo_Numeros(caracter.unicode()))
            filtrado += QChar(codigo);
    }
    return filtrado;
}

class Teclado_Caja : public QObject {
  public:
    Teclado_Caja(QWidget* caja, Filtro_Caja filtro, Enter_Caja enter,
                 std::function<void()> al_enter)
        : QObject(caja),
          caja_(caja),
          filtro_(filtro),
          enter_(enter),
          al_enter_(std::move(al_enter)) {}

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (objeto != caja_ || evento->type() != QEvent::KeyPress)
            return false;
        const auto& tecla = *static_cast<QKeyEvent*>(evento);
        if (Es_Enter(tecla))
            return Atender_Enter();
        if (filtro_ == Filtro_Caja::Ninguno || !Es_Tecleo(tecla))
            return false;
        return Aplicar_Filtro(tecla);
    }

  private:
    bool Atender_Enter() {
        if (al_enter_)
            al_enter_();
        else
            Enviar_Tecla(Qt::Key_Tab, true, caja_);
        return enter_ == Enter_Caja::Descartar;
    }

    // Lets the keystroke through, swallows it, or hands the box the filtered characters instead.
    // The filtered keystroke comes back through here unchanged, since the filters are idempotent.
    bool Aplicar_Filtro(const QKeyEvent& tecla) {
        const QString filtrado = Filtrar(tecla.text(), filtro_);
        if (filtrado == tecla.text())
            return false;
        if (filtrado.isEmpty())
            return true;
        QKeyEvent sustituta(tecla.type(), tecla.key(), tecla.modifiers(), filtrado,
                            tecla.isAutoRepeat(), tecla.count());
        QCoreApplication::sendEvent(caja_, &sustituta);
        return true;
    }

    QWidget* caja_;
    Filtro_Caja filtro_;
    Enter_Caja enter_;
    std::function<void()> al_enter_;
};

}  // namespace

void Enviar_Tecla(Qt::Key Tecla, bool Presionar, QWidget* destino) {
    if (!destino)
        destino = QApplication::focusWidget();
    if (!destino)
        return;
    const auto tipo = Presionar ? QEvent::KeyPress : QEvent::KeyRelease;
    const QString texto = Tecla == Qt::Key_Tab ? QStringLiteral("\t") : QString();
    QCoreApplication::postEvent(destino, new QKeyEvent(tipo, Tecla, Qt::NoModifier, texto));
}

QObject* Instalar_Teclado(QWidget* caja, Filtro_Caja filtro, Enter_Caja enter,
                          std::function<void()> al_enter) {
    auto* teclado = new Teclado_Caja(caja, filtro, enter, std::move(al_enter));
    caja->installEventFilter(teclado);
    return teclado;
}

}  // namespace facturador

#pragma once

#include <functional>

#include <Qt>

class QObject;
class QWidget;

namespace facturador {

// What a data-entry box does with the characters typed into it. Pasted text is never filtered.
enum class Filtro_Caja {
    Ninguno,
    Solo_Numeros,  // digits and Backspace only; the keypad's digits count
    Mayusculas,    // letters shown in upper case
};

// Whether the box itself still receives the Enter that moved the focus on.
enum class Enter_Caja { Descartar, Conservar };

// Sends one key event, down or up, to the widget that has the keyboard focus (or to `destino`),
// queued like a key typed by the operator: it takes effect once the current handler has returned.
// Enviar_Tecla(Qt::Key_Tab, true) moves the focus on exactly as a Tab would.
void Enviar_Tecla(Qt::Key Tecla, bool Presionar, QWidget* destino = nullptr);

// Gives a box (line edit, combo box...) the keyboard behaviour of the data-entry windows:
// Enter moves the focus to the next control in tab order, or runs `al_enter` instead when one is
// given; then typed characters go through `filtro`. The returned object belongs to the box.
QObject* Instalar_Teclado(QWidget* caja, Filtro_Caja filtro, Enter_Caja enter,
                          std::function<void()> al_enter = {});

}  // namespace facturador

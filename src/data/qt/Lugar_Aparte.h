#pragma once

#include "data/Consulta_Aparte.h"

class QWidget;

namespace facturador {

// Runs `consulta` apart (Esperar_Sin_Congelar) on a central connection of its own, opened from the
// central string in force.
bool Consultar_Aparte(const std::function<void(const Abrir_Central&)>& consulta);

// The place of queries of an operator's window: each query runs apart, and meanwhile the window
// takes no input (clicks, keys, closing) and shows a busy pointer, so that a second "Aceptar" or a
// box edited halfway cannot act on what the first one is doing. The rest of the program (the tray,
// the other windows) keeps answering.
class Lugar_Aparte : public Lugar_Consultas {
  public:
    explicit Lugar_Aparte(QWidget* ventana) : ventana_(ventana) {}
    bool Ejecutar_Consulta(const std::function<void(const Abrir_Central&)>& consulta) override;

  private:
    QWidget* ventana_;
};

}  // namespace facturador

#pragma once

#include <functional>

namespace facturador {

// Runs `trabajo` on a thread of its own and handles the program's events until it ends, so that
// the tray and the windows keep answering while the central database takes its time. Answers
// false when the program ends first: the thread then finishes by itself, and `trabajo` must hold
// everything it uses.
bool Esperar_Sin_Congelar(const std::function<void()>& trabajo);

}  // namespace facturador

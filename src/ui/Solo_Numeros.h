#pragma once

namespace facturador {

// Keystroke filter of the digits-only boxes: Backspace (8) and the digits pass unchanged, any
// other character becomes 0, which discards the keystroke.
char16_t Solo_Numeros(char16_t codigo);

}  // namespace facturador

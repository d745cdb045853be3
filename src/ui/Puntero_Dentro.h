#pragma once

namespace facturador {

// Whether a mouse button released at (x, y), relative to a control of the given size, was
// released on that control. Both edges count as inside.
bool Puntero_Dentro(float ancho, float alto, float x, float y);

}  // namespace facturador

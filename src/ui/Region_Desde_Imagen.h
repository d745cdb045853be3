#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace facturador {

struct Rectangulo_Region {
    int x = 0;
    int y = 0;
    int ancho = 0;
    int alto = 0;
    bool operator==(const Rectangulo_Region&) const = default;
};

// Colour of the pixel at (x, y) of a picture.
using Pixel_Imagen = std::function<std::uint32_t(int x, int y)>;

// The outline of a picture as a window region: every pixel whose colour differs from the key
// colour, which is the colour of the top-left pixel. One rectangle per horizontal run of such
// pixels, row by row and left to right; an empty picture gives an empty region.
std::vector<Rectangulo_Region> Region_Desde_Imagen(int ancho, int alto, const Pixel_Imagen& pixel);

}  // namespace facturador

#include "ui/Region_Desde_Imagen.h"

namespace facturador {

namespace {

// Appends the runs of non-key pixels of row y.
void Agregar_Tramos_De_Fila(int ancho, int y, std::uint32_t clave, const Pixel_Imagen& pixel,
                            std::vector<Rectangulo_Region>& region) {
    int x = 0;
    while (x < ancho) {
        if (pixel(x, y) == clave) {
            ++x;
            continue;
        }
        const int inicio = x;
        while (x < ancho && pixel(x, y) != clave)
            ++x;
        region.push_back({inicio, y, x - inicio, 1});
    }
}

}  // namespace

std::vector<Rectangulo_Region> Region_Desde_Imagen(int ancho, int alto, const Pixel_Imagen& pixel) {
    std::vector<Rectangulo_Region> region;
    if (ancho <= 0 || alto <= 0)
        return region;
    const std::uint32_t clave = pixel(0, 0);
    for (int y = 0; y < alto; ++y)
        Agregar_Tramos_De_Fila(ancho, y, clave, pixel, region);
    return region;
}

}  // namespace facturador

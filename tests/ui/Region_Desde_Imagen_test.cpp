#include "ui/Region_Desde_Imagen.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace facturador {
namespace {

// A picture drawn with characters, one colour per character.
struct Dibujo {
    std::vector<std::string> filas;

    int Ancho() const { return filas.empty() ? 0 : static_cast<int>(filas[0].size()); }
    int Alto() const { return static_cast<int>(filas.size()); }
    Pixel_Imagen Pixel() const {
        return [this](int x, int y) { return static_cast<std::uint32_t>(filas.at(y).at(x)); };
    }
};

std::vector<Rectangulo_Region> Region_De(const Dibujo& dibujo) {
    return Region_Desde_Imagen(dibujo.Ancho(), dibujo.Alto(), dibujo.Pixel());
}

using Puntos = std::set<std::pair<int, int>>;

Puntos Cubiertos(const std::vector<Rectangulo_Region>& region) {
    Puntos puntos;
    for (const auto& r : region)
        for (int y = r.y; y < r.y + r.alto; ++y)
            for (int x = r.x; x < r.x + r.ancho; ++x)
                EXPECT_TRUE(puntos.insert({x, y}).second);
    return puntos;
}

Puntos Distintos_De_La_Clave(const Dibujo& dibujo) {
    Puntos puntos;
    for (int y = 0; y < dibujo.Alto(); ++y)
        for (int x = 0; x < dibujo.Ancho(); ++x)
            if (dibujo.filas[y][x] != dibujo.filas[0][0])
                puntos.insert({x, y});
    return puntos;
}

TEST(Region_Desde_Imagen, a_picture_all_of_the_key_colour_or_without_pixels_is_empty) {
    EXPECT_TRUE(Region_De({{"mmmm", "mmmm", "mmmm"}}).empty());
    const Pixel_Imagen sin_lectura = [](int, int) -> std::uint32_t {
        ADD_FAILURE() << "an empty picture has no pixel to read";
        return 0;
    };
    EXPECT_TRUE(Region_Desde_Imagen(0, 0, sin_lectura).empty());
    EXPECT_TRUE(Region_Desde_Imagen(5, 0, sin_lectura).empty());
    EXPECT_TRUE(Region_Desde_Imagen(0, 5, sin_lectura).empty());
}

TEST(Region_Desde_Imagen, only_the_top_left_pixel_of_the_key_colour_leaves_out_just_that_pixel) {
    const Dibujo dibujo{{"mabc", "aaaa", "bcab"}};
    const auto region = Region_De(dibujo);
    const std::vector<Rectangulo_Region> esperada{{1, 0, 3, 1}, {0, 1, 4, 1}, {0, 2, 4, 1}};
    EXPECT_EQ(region, esperada);
    EXPECT_EQ(Cubiertos(region), Distintos_De_La_Clave(dibujo));
}

TEST(Region_Desde_Imagen, a_ring_keeps_its_hole_and_its_single_pixel_runs) {
    const Dibujo anillo{{
        ".......",
        ".#####.",
        ".#...#.",
        ".#.o.#.",
        ".#...#.",
        ".##o##.",
        ".......",
    }};
    const auto region = Region_De(anillo);
    const std::vector<Rectangulo_Region> esperada{
        {1, 1, 5, 1}, {1, 2, 1, 1}, {5, 2, 1, 1}, {1, 3, 1, 1}, {3, 3, 1, 1},
        {5, 3, 1, 1}, {1, 4, 1, 1}, {5, 4, 1, 1}, {1, 5, 5, 1},
    };
    EXPECT_EQ(region, esperada);
    EXPECT_EQ(Cubiertos(region), Distintos_De_La_Clave(anillo));
}

}  // namespace
}  // namespace facturador

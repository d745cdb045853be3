#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/Puntero_Dentro.h"
#include "ui/Region_Desde_Imagen.h"
#include "ui/Solo_Numeros.h"

namespace facturador {
namespace {

TEST(Puntero_Dentro, counts_both_edges_as_inside_and_anything_beyond_as_outside) {
    using Punto = std::pair<float, float>;
    for (auto [x, y] : {Punto{0, 0}, Punto{96, 28}, Punto{96, 0}, Punto{0, 28}})
        EXPECT_TRUE(Puntero_Dentro(96, 28, x, y)) << x << "," << y;
    for (auto [x, y] : {Punto{-0.5f, 10}, Punto{10, -1}, Punto{96.5f, 10}, Punto{10, 29}})
        EXPECT_FALSE(Puntero_Dentro(96, 28, x, y)) << x << "," << y;
}

TEST(Solo_Numeros, lets_digits_and_backspace_through_and_discards_the_rest) {
    for (char16_t pasa : {u'0', u'5', u'9', char16_t{8}})
        EXPECT_EQ(Solo_Numeros(pasa), pasa);
    for (char16_t otro : {u'a', u' ', u'-', u'.', u'/', u':', u'ñ', u'٣', u'\r'})
        EXPECT_EQ(Solo_Numeros(otro), 0) << static_cast<int>(otro);
}

// A picture drawn with characters, one colour per character; the top-left one is the key.
std::vector<Rectangulo_Region> Region_De(const std::vector<std::string>& filas) {
    return Region_Desde_Imagen(static_cast<int>(filas[0].size()), static_cast<int>(filas.size()),
                               [&](int x, int y) { return std::uint32_t(filas.at(y).at(x)); });
}

TEST(Region_Desde_Imagen, keeps_every_run_of_pixels_not_of_the_key_colour_row_by_row) {
    EXPECT_TRUE(Region_De({"mmmm", "mmmm", "mmmm"}).empty());
    // An empty picture has no pixel to read: the empty reader would throw.
    EXPECT_TRUE(Region_Desde_Imagen(0, 5, {}).empty());
    EXPECT_TRUE(Region_Desde_Imagen(5, 0, {}).empty());

    // Only the top-left pixel of the key colour: everything but that pixel.
    EXPECT_EQ(Region_De({"mabc", "aaaa", "bcab"}),
              (std::vector<Rectangulo_Region>{{1, 0, 3, 1}, {0, 1, 4, 1}, {0, 2, 4, 1}}));
    // A hole splits a row; a single pixel is a run of its own.
    EXPECT_EQ(
        Region_De({".....", ".#.#.", ".###.", "....#"}),
        (std::vector<Rectangulo_Region>{{1, 1, 1, 1}, {3, 1, 1, 1}, {1, 2, 3, 1}, {4, 3, 1, 1}}));
}

}  // namespace
}  // namespace facturador

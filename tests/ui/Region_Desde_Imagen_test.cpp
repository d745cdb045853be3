#include "ui/Region_Desde_Imagen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace facturador {
namespace {

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

#include <gtest/gtest.h>

#include <utility>

#include "ui/Puntero_Dentro.h"
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

}  // namespace
}  // namespace facturador

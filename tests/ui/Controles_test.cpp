#include <gtest/gtest.h>

#include "ui/Puntero_Dentro.h"
#include "ui/Solo_Numeros.h"

namespace facturador {
namespace {

TEST(Puntero_Dentro, counts_both_edges_as_inside_and_anything_beyond_as_outside) {
    EXPECT_TRUE(Puntero_Dentro(96, 28, 0, 0));
    EXPECT_TRUE(Puntero_Dentro(96, 28, 96, 28));
    EXPECT_TRUE(Puntero_Dentro(96, 28, 96, 0));
    EXPECT_TRUE(Puntero_Dentro(96, 28, 0, 28));
    EXPECT_TRUE(Puntero_Dentro(96, 28, 1, 1));

    EXPECT_FALSE(Puntero_Dentro(96, 28, -0.5f, 10));
    EXPECT_FALSE(Puntero_Dentro(96, 28, 10, -1));
    EXPECT_FALSE(Puntero_Dentro(96, 28, 96.5f, 10));
    EXPECT_FALSE(Puntero_Dentro(96, 28, 10, 29));
}

TEST(Solo_Numeros, lets_digits_and_backspace_through_and_discards_the_rest) {
    for (char16_t digito = u'0'; digito <= u'9'; ++digito)
        EXPECT_EQ(Solo_Numeros(digito), digito);
    EXPECT_EQ(Solo_Numeros(8), 8);
    for (char16_t otro : {u'a', u'Z', u' ', u'-', u'.', u',', u'+', u'/', u':', u'ñ', u'٣', u'\r',
                          u'\t', char16_t{0x16}})
        EXPECT_EQ(Solo_Numeros(otro), 0) << static_cast<int>(otro);
}

}  // namespace
}  // namespace facturador

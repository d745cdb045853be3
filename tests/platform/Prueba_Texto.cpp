#include <gtest/gtest.h>

#include "platform/Texto.h"

namespace facturador {
namespace {

TEST(Texto, Windows_1252_Va_Y_Vuelve_Y_Lo_Que_Falta_Es_Interrogacion) {
    std::string todos;
    for (int b = 0; b < 256; ++b)
        todos += static_cast<char>(b);
    const std::string utf8 = Desde_Windows_1252(todos);
    EXPECT_TRUE(Es_UTF8_Valido(utf8));
    EXPECT_EQ(A_Windows_1252(utf8), todos);
    EXPECT_EQ(A_Windows_1252("Año €Ÿ"), "A\xF1o \x80\x9F");
    EXPECT_EQ(Desde_Windows_1252("\x93Se\xF1or\x94"), "“Señor”");

    EXPECT_EQ(A_Windows_1252("日本"), "??");
    EXPECT_EQ(A_Windows_1252("a😀b"), "a?b");
    EXPECT_EQ(A_Windows_1252("a\xF1o"), "a?o");  // bytes that are not UTF-8 at all
}

TEST(Texto, Reconoce_UTF8_Mal_Formado_Y_Lee_Lo_Demas_Como_Windows_1252) {
    EXPECT_TRUE(Es_UTF8_Valido("Año € 😀 \x7F"));
    EXPECT_TRUE(Es_UTF8_Valido("\xF4\x8F\xBF\xBF"));  // U+10FFFF
    for (const char* malo : {"\xC3", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                             "\xF8\x88\x80\x80\x80", "\x80", "a\xE2\x82", "\xC3\x28"})
        EXPECT_FALSE(Es_UTF8_Valido(malo)) << malo;
    EXPECT_EQ(Texto_Leido("Año €"), "Año €");
    EXPECT_EQ(Texto_Leido("A\xF1o \x80"), "Año €");
    EXPECT_EQ(Recortar("  a b  "), "a b");
    EXPECT_EQ(Recortar("   "), "");
}

}  // namespace
}  // namespace facturador

namespace facturador::pruebas {
namespace {

// A customer's name must never add a line (a second Total, a second section) to a file that the
// stamping program reads line by line.
TEST(Texto, Sin_Controles_Deja_Cada_Control_Como_Un_Blanco_Y_Lo_Demas_Intacto) {
    EXPECT_EQ(Sin_Controles("X\r\nTotal=0.01"), "X  Total=0.01");
    EXPECT_EQ(Sin_Controles(std::string("a\tb\x7f" "c\0d", 7)), "a b c d");
    EXPECT_EQ(Sin_Controles("\xc2\x85NEL"), " NEL");  // U+0085, a line end to some readers
    EXPECT_EQ(Sin_Controles("Peña 東京 😀"), "Peña 東京 😀");
    EXPECT_EQ(Sin_Controles("\xff\xfe"), "\xff\xfe");
}

}  // namespace
}  // namespace facturador::pruebas

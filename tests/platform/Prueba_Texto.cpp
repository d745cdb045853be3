#include <gtest/gtest.h>

#include "platform/Texto.h"

namespace facturador {
namespace {

TEST(Texto, Todos_Los_Bytes_De_Windows_1252_Van_Y_Vuelven) {
    std::string todos;
    for (int b = 0; b < 256; ++b)
        todos += static_cast<char>(b);
    const std::string utf8 = Desde_Windows_1252(todos);
    EXPECT_TRUE(Es_UTF8_Valido(utf8));
    EXPECT_EQ(A_Windows_1252(utf8), todos);
}

TEST(Texto, Convierte_Acentos_Y_El_Bloque_80) {
    EXPECT_EQ(A_Windows_1252("Año Çé"), "A\xF1o \xC7\xE9");
    EXPECT_EQ(A_Windows_1252("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"),
              "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97"
              "\x98\x99\x9A\x9B\x9C\x9E\x9F");
    EXPECT_EQ(Desde_Windows_1252("\x93Se\xF1or\x94 \x80"), "“Señor” €");
}

TEST(Texto, Lo_Que_Falta_En_La_Pagina_De_Codigos_Es_Interrogacion) {
    EXPECT_EQ(A_Windows_1252("日本"), "??");
    EXPECT_EQ(A_Windows_1252("a😀b"), "a?b");
    EXPECT_EQ(A_Windows_1252("Ā"), "?");
    // Bytes that are not UTF-8 at all.
    EXPECT_EQ(A_Windows_1252("a\xF1o"), "a?o");
}

TEST(Texto, Reconoce_UTF8_Mal_Formado) {
    EXPECT_TRUE(Es_UTF8_Valido(""));
    EXPECT_TRUE(Es_UTF8_Valido("Año € 😀 \x7F"));
    EXPECT_TRUE(Es_UTF8_Valido("\xF4\x8F\xBF\xBF"));  // U+10FFFF
    for (const char* malo : {"\xC3", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                             "\xF8\x88\x80\x80\x80", "\x80", "a\xE2\x82", "\xC3\x28"})
        EXPECT_FALSE(Es_UTF8_Valido(malo)) << malo;
}

TEST(Texto, Texto_Leido_Acepta_UTF8_Y_Si_No_Windows_1252) {
    EXPECT_EQ(Texto_Leido("Año €"), "Año €");
    EXPECT_EQ(Texto_Leido("A\xF1o \x80"), "Año €");
    EXPECT_EQ(Texto_Leido(""), "");
}

TEST(Texto, Recortar_Quita_Los_Blancos_De_Los_Extremos) {
    EXPECT_EQ(Recortar("  a b  "), "a b");
    EXPECT_EQ(Recortar("   "), "");
    EXPECT_EQ(Recortar(""), "");
    EXPECT_EQ(Recortar("sin"), "sin");
}

}  // namespace
}  // namespace facturador

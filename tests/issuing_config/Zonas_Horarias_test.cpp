#include <gtest/gtest.h>

#include "issuing_config/Zonas_Horarias.h"
#include "platform/Zona_Horaria.h"

namespace facturador::pruebas {
namespace {

// The shipped mapping: every prefix of a state has its zone (the four corners of the country go
// through the file to stamp), and the prefixes no state holds have none.
TEST(Zonas_Horarias, ElMapaIncrustadoDaLaZonaDeCadaEstado) {
    const Zonas_por_Prefijo zonas = Leer_Zonas_Horarias(Texto_Zonas_Horarias());
    EXPECT_EQ(zonas.size(), 96u);  // 01 to 99 but 17, 18 and 19
    const std::pair<const char*, const char*> casos[] = {
        {"97000", "America/Merida"},       // Mérida
        {"23000", "America/Mazatlan"},     // La Paz
        {"01000", "America/Mexico_City"},  // the lowest code of the catalogue
        {"99999", "America/Mexico_City"},  // Zacatecas, the highest
    };
    for (const auto& [cp, zona] : casos) {
        const auto encontrada = Zona_de_Codigo_Postal(cp);
        ASSERT_TRUE(encontrada) << cp;
        EXPECT_EQ(encontrada->Zona, zona) << cp;
    }
    EXPECT_EQ(Zona_de_Codigo_Postal("64000")->Estado, "Nuevo León");
    for (const char* sin_zona :
         {"17000", "18999", "19500", "00999", "0100", "010000", "A1000", " 44100", ""})
        EXPECT_FALSE(Zona_de_Codigo_Postal(sin_zona)) << '"' << sin_zona << '"';
}

TEST(Zonas_Horarias, UnTextoMalFormadoSeRechazaNombrandoLaLinea) {
    EXPECT_EQ(Leer_Zonas_Horarias("# nada\n\n20|Aguascalientes|America/Mexico_City\n").size(), 1u);
    for (const char* texto :
         {"20|Aguascalientes\n", "2|Aguascalientes|America/Mexico_City\n",
          "21-20|Baja California|America/Tijuana\n",
          "20|A|America/Mexico_City\n20|B|America/Mexico_City\n", "20||America/Mexico_City\n"}) {
        try {
            Leer_Zonas_Horarias(texto);
            ADD_FAILURE() << texto;
        } catch (const Error_Zonas_Horarias& e) {
            EXPECT_NE(std::string(e.what()).find("línea"), std::string::npos) << e.what();
        }
    }
}

// A zone's name reaches tzdata only as tzdata writes its names: never a path of its own, nor an
// offset that Qt would read by itself.
TEST(Zonas_Horarias, SoloNombresDeLaBaseDeZonasDelSistema) {
    for (const char* conocida : {"America/Tijuana", "America/Ciudad_Juarez", "Etc/UTC"})
        EXPECT_TRUE(Es_Zona_Conocida(conocida)) << conocida;
    for (const char* desconocida :
         {"", "America/Guadalajara", "../../../etc/passwd", "/usr/share/zoneinfo/Etc/UTC",
          "America//Tijuana", "America/", "UTC-06:00", "UTC-6", "America/Tijuana "})
        EXPECT_FALSE(Es_Zona_Conocida(desconocida)) << '"' << desconocida << '"';
    EXPECT_THROW(Hora_Local(0, "UTC-6"), std::invalid_argument);
}

}  // namespace
}  // namespace facturador::pruebas

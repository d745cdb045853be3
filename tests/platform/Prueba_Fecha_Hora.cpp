#include <gtest/gtest.h>

#include "platform/Fecha_Hora.h"

namespace facturador {
namespace {

TEST(Fecha_Hora, Formatos_De_Fecha_Y_Hora_Hh_Nn) {
    const Fecha_Hora f{2026, 3, 7, 9, 5, 4};
    EXPECT_EQ(Formato_Fecha(f), "07/03/2026");
    EXPECT_EQ(Formato_Hora(f), "09:05");
    EXPECT_EQ(Formato_Fecha_Hora(f), "07/03/2026 09:05");
    EXPECT_EQ(Formato_Fecha_Corta(f), "07-03-26");
    EXPECT_EQ(Formato_Fecha_SQL(f), "2026/03/07");
}

TEST(Fecha_Hora, Lee_Las_Formas_De_Los_Drivers_Y_Del_Programa_Y_Nada_Mas) {
    EXPECT_EQ(Leer_Fecha_Hora("2024-07-31 23:59:58"), (Fecha_Hora{2024, 7, 31, 23, 59, 58}));
    EXPECT_EQ(Leer_Fecha_Hora("2024/07/31"), (Fecha_Hora{2024, 7, 31, 0, 0, 0}));
    EXPECT_EQ(Leer_Fecha_Hora("31/07/2024 08:01"), (Fecha_Hora{2024, 7, 31, 8, 1, 0}));
    EXPECT_EQ(Leer_Fecha_Hora(" 01/06/2014 "), (Fecha_Hora{2014, 6, 1, 0, 0, 0}));
    EXPECT_EQ(Leer_Fecha_Hora("2024-07-31 10:00:00.250"), (Fecha_Hora{2024, 7, 31, 10, 0, 0}));
    EXPECT_EQ(Leer_Fecha_Hora("10:15:40"), (Fecha_Hora{1899, 12, 30, 10, 15, 40}));
    EXPECT_EQ(Leer_Fecha_Hora("8:01"), (Fecha_Hora{1899, 12, 30, 8, 1, 0}));
    for (const char* texto :
         {"", " ", "hoy", "31/07", "2024-02-30", "29/02/2023", "31/13/2024", "24:00", "10:60",
          "10:00:00:00", "1/2/3", "2024/07-31", "31/07/2024 10:00:00:00", "31/07/2024 10/30",
          "31/07/2024 25:00", "31/07/2024/", "12345/01/01"})
        EXPECT_EQ(Leer_Fecha_Hora(texto), std::nullopt) << '"' << texto << '"';
}

TEST(Fecha_Hora, Sumar_Cruza_Dias_Meses_Y_Bisiestos) {
    EXPECT_EQ(Sumar_Segundos({2026, 12, 31, 23, 59, 55}, 10), (Fecha_Hora{2027, 1, 1, 0, 0, 5}));
    EXPECT_EQ(Sumar_Segundos({2024, 2, 28, 23, 59, 59}, 1), (Fecha_Hora{2024, 2, 29, 0, 0, 0}));
    EXPECT_EQ(Sumar_Segundos({2024, 3, 1, 0, 0, 5}, -10), (Fecha_Hora{2024, 2, 29, 23, 59, 55}));
    EXPECT_EQ(Sumar_Dias({2024, 2, 28, 8, 1, 0}, 2), (Fecha_Hora{2024, 3, 1, 8, 1, 0}));
    EXPECT_EQ(Dias_Entre({2024, 2, 28, 23, 0, 0}, {2024, 3, 1, 1, 0, 0}), 2);
    EXPECT_EQ(Dias_Entre({2024, 3, 1, 0, 0, 0}, {2024, 2, 28, 0, 0, 0}), -2);
    EXPECT_EQ(Solo_Fecha({2024, 2, 29, 8, 1, 7}), (Fecha_Hora{2024, 2, 29, 0, 0, 0}));
}

}  // namespace
}  // namespace facturador

// The platform's pure helpers: connection strings, record sets, Windows-1252 text and dates.

#include <gtest/gtest.h>

#include "platform/Cadena_Conexion.h"
#include "platform/Error_Plataforma.h"
#include "platform/Fecha_Hora.h"
#include "platform/Recordset.h"
#include "platform/Texto.h"

namespace facturador {
namespace {

std::string Cadena_Central(const std::string& puerto) {
    return "Provider=MSDASQL.1;Password=;Persist Security Info=True;User ID=;Extended "
           "Properties=\"DRIVER={MySQL ODBC 3.51 Driver};DESC=;DATABASE=Morvane_Central;"
           "SERVER=localhost;UID=usuarios;PASSWORD=m58kbwTavRz07;PORT=" +
           puerto + ";OPTION=16387;STMT=;\"";
}

// The central string gives its parameters, an empty port being the driver's default (0); keys
// are read without regard to case. The local string gives its file, without the blanks round it.
TEST(Cadena_Conexion, CentralAndLocalStringsGiveTheirParameters) {
    EXPECT_EQ(Leer_Cadena_Central(Cadena_Central("")),
              (Parametros_Central{"Morvane_Central", "localhost", "usuarios", "m58kbwTavRz07", 0}));
    EXPECT_EQ(Leer_Cadena_Central(Cadena_Central("3306")).Puerto, 3306u);
    EXPECT_EQ(
        Leer_Cadena_Central("provider=msdasql.1;extended properties=\"driver={MySQL ODBC 3.51 "
                            "Driver};Database=Base;Server=servidor;Uid=u;Password=p;Port=3307\""),
        (Parametros_Central{"Base", "servidor", "u", "p", 3307}));
    for (const char* puerto : {"33o6", "-1", "70000"})
        EXPECT_THROW(Leer_Cadena_Central(Cadena_Central(puerto)), Error_Plataforma) << puerto;
    EXPECT_THROW(Leer_Cadena_Central("Provider=SQLOLEDB.1;Data Source=s;Initial Catalog=B"),
                 Error_Plataforma);

    EXPECT_FALSE(Es_Cadena_Local(Cadena_Central("")));
    const std::string local =
        "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/a b/local.dll ;Jet "
        "OLEDB:Database Password= Qx7Lm2Vb9TpWc4Hd";
    EXPECT_TRUE(Es_Cadena_Local(local));
    EXPECT_EQ(Leer_Origen_Local(local), "/a b/local.dll");
    EXPECT_THROW(Leer_Origen_Local("Provider=Microsoft.Jet.OLEDB.4.0;"), Error_Plataforma);
}

TEST(Recordset, WalksItsRowsAndFailsOutsideThemOrOnAnUnknownColumn) {
    Recordset rs({"ID", "Nombre"}, {{"1", std::nullopt}, {"2", "Dos"}});
    EXPECT_EQ(rs.Texto("id") + "|" + rs.Texto("NOMBRE"), "1|");  // Null reads as empty text
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Texto(size_t{1}), "Dos");
    EXPECT_THROW(rs.Campo("Otra"), Error_Plataforma);
    rs.Mover_Siguiente();
    EXPECT_TRUE(rs.Fin());
    EXPECT_THROW(rs.Campo("ID"), Error_Plataforma);
    EXPECT_THROW(rs.Mover_Siguiente(), Error_Plataforma);
    rs.Mover_Primero();
    EXPECT_EQ(rs.Texto("ID"), "1");
}

// Every byte goes to UTF-8 and back; what Windows-1252 lacks becomes "?"; bytes that are not
// UTF-8 are read as Windows-1252.
TEST(Texto, Windows1252GoesAndComesBackAndWhatItLacksIsAQuestionMark) {
    std::string todos;
    for (int b = 0; b < 256; ++b)
        todos += static_cast<char>(b);
    EXPECT_EQ(A_Windows_1252(Desde_Windows_1252(todos)), todos);
    EXPECT_EQ(A_Windows_1252("Año €Ÿ"), "A\xF1o \x80\x9F");
    EXPECT_EQ(A_Windows_1252("日😀b"), "??b");
    EXPECT_EQ(A_Windows_1252("a\xF1o"), "a?o");
    for (const char* malo : {"\xC3", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE2\x82"})
        EXPECT_FALSE(Es_UTF8_Valido(malo)) << malo;
    EXPECT_TRUE(Es_UTF8_Valido("Año € 😀 \xF4\x8F\xBF\xBF"));
    EXPECT_EQ(Texto_Leido("A\xF1o \x80") + Texto_Leido("Año €"), "Año €Año €");
    EXPECT_EQ(Recortar("  a b  ") + Recortar("   "), "a b");
}

// A customer's name must never add a line (a second Total, a second section) to a file that the
// stamping program reads line by line.
TEST(Texto, SinControlesLeavesEachControlAsABlankAndTheRestIntact) {
    EXPECT_EQ(Sin_Controles("X\r\nTotal=0.01"), "X  Total=0.01");
    EXPECT_EQ(Sin_Controles(std::string("a\tb\x7f"
                                        "c\0d",
                                        7)),
              "a b c d");
    EXPECT_EQ(Sin_Controles("\xc2\x85NEL"), " NEL");  // U+0085, a line end to some readers
    EXPECT_EQ(Sin_Controles("Peña 東京 😀 \xff"), "Peña 東京 😀 \xff");
}

TEST(Fecha_Hora, ReadsTheDriversAndTheProgramsFormsAndNothingElse) {
    EXPECT_EQ(Leer_Fecha_Hora("2024-07-31 23:59:58"), (Fecha_Hora{2024, 7, 31, 23, 59, 58}));
    EXPECT_EQ(Leer_Fecha_Hora("2024/07/31"), (Fecha_Hora{2024, 7, 31, 0, 0, 0}));
    EXPECT_EQ(Leer_Fecha_Hora(" 31/07/2024 08:01 "), (Fecha_Hora{2024, 7, 31, 8, 1, 0}));
    EXPECT_EQ(Leer_Fecha_Hora("2024-07-31 10:00:00.250"), (Fecha_Hora{2024, 7, 31, 10, 0, 0}));
    EXPECT_EQ(Leer_Fecha_Hora("8:01"), (Fecha_Hora{1899, 12, 30, 8, 1, 0}));
    for (const char* texto : {"", "hoy", "31/07", "2024-02-30", "29/02/2023", "31/13/2024", "24:00",
                              "10:60", "2024/07-31", "31/07/2024 10/30", "12345/01/01"})
        EXPECT_EQ(Leer_Fecha_Hora(texto), std::nullopt) << '"' << texto << '"';
}

TEST(Fecha_Hora, ArithmeticCrossesDaysMonthsYearsAndLeapDays) {
    EXPECT_EQ(Sumar_Segundos({2026, 12, 31, 23, 59, 55}, 10), (Fecha_Hora{2027, 1, 1, 0, 0, 5}));
    EXPECT_EQ(Sumar_Segundos({2024, 3, 1, 0, 0, 5}, -10), (Fecha_Hora{2024, 2, 29, 23, 59, 55}));
    EXPECT_EQ(Sumar_Dias({2024, 2, 28, 8, 1, 0}, 2), (Fecha_Hora{2024, 3, 1, 8, 1, 0}));
    EXPECT_EQ(Dias_Entre({2024, 2, 28, 23, 0, 0}, {2024, 3, 1, 1, 0, 0}), 2);
    EXPECT_EQ(Dias_Entre({2024, 3, 1, 0, 0, 0}, {2024, 2, 28, 0, 0, 0}), -2);
    EXPECT_EQ(Solo_Fecha({2024, 2, 29, 8, 1, 7}), (Fecha_Hora{2024, 2, 29, 0, 0, 0}));
}

}  // namespace
}  // namespace facturador

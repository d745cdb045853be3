#include <gtest/gtest.h>

#include "platform/Cadena_Conexion.h"
#include "platform/Error_Plataforma.h"

namespace facturador {
namespace {

std::string Cadena_Central(const std::string& puerto) {
    return "Provider=MSDASQL.1;Password=;Persist Security Info=True;User ID=;Extended "
           "Properties=\"DRIVER={MySQL ODBC 3.51 Driver};DESC=;DATABASE=Morvane_Central;"
           "SERVER=localhost;UID=usuarios;PASSWORD=m58kbwTavRz07;PORT=" +
           puerto + ";OPTION=16387;STMT=;\"";
}

TEST(Cadena_Conexion, La_Cadena_Central_Da_Sus_Parametros_Y_Un_Puerto_Vacio_Es_0) {
    EXPECT_EQ(Leer_Cadena_Central(Cadena_Central("")),
              (Parametros_Central{"Morvane_Central", "localhost", "usuarios", "m58kbwTavRz07", 0}));
    EXPECT_FALSE(Es_Cadena_Local(Cadena_Central("")));
    EXPECT_EQ(Leer_Cadena_Central(Cadena_Central("3306")).Puerto, 3306u);
    // The keys are read without regard to case.
    EXPECT_EQ(
        Leer_Cadena_Central("provider=msdasql.1;extended properties=\"driver={MySQL ODBC 3.51 "
                            "Driver};Database=Base;Server=servidor;Uid=u;Password=p;Port=3307\""),
        (Parametros_Central{"Base", "servidor", "u", "p", 3307}));

    for (const char* puerto : {"abc", "33o6", "-1", "70000", " 3306x"})
        EXPECT_THROW(Leer_Cadena_Central(Cadena_Central(puerto)), Error_Plataforma) << puerto;
    EXPECT_THROW(Leer_Cadena_Central(""), Error_Plataforma);
    EXPECT_THROW(Leer_Cadena_Central("Provider=SQLOLEDB.1;Data Source=servidor;Initial Catalog=B"),
                 Error_Plataforma);
}

TEST(Cadena_Conexion, La_Cadena_Local_Da_El_Archivo_Sin_Blancos) {
    const std::string cadena =
        "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/opt/facturador/local.dll ;Jet "
        "OLEDB:Database Password= Qx7Lm2Vb9TpWc4Hd";
    EXPECT_TRUE(Es_Cadena_Local(cadena));
    EXPECT_EQ(Leer_Origen_Local(cadena), "/opt/facturador/local.dll");
    EXPECT_EQ(Leer_Origen_Local("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/a b/Taldo.dll ;"),
              "/a b/Taldo.dll");
    EXPECT_THROW(Leer_Origen_Local("Provider=Microsoft.Jet.OLEDB.4.0;"), Error_Plataforma);
}

}  // namespace
}  // namespace facturador

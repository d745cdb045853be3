#include <gtest/gtest.h>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "data/Conexiones.h"
#include "data/Configuracion.h"

namespace facturador {
namespace {

TEST(Conexiones, CadenasExactas) {
    pruebas::Entorno_Pruebas entorno;
    EXPECT_EQ(Armar_Cadena_Central("Morvane_Central", "localhost", "3306"),
              "Provider=MSDASQL.1;Password=;Persist Security Info=True;User ID=;Extended "
              "Properties=\"DRIVER={MySQL ODBC 3.51 Driver};DESC=;DATABASE=Morvane_Central;"
              "SERVER=localhost;UID=usuarios;PASSWORD=m58kbwTavRz07;PORT=3306;OPTION=16387;"
              "STMT=;\"");
    EXPECT_EQ(Cadena_Conexion_Local(),
              "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" + entorno.Carpeta() +
                  "/local.dll ;Jet OLEDB:Database Password= "
                  "Qx7Lm2Vb9TpWc4Hd");
    EXPECT_EQ(Armar_Cadena_Historial(),
              "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" + entorno.Carpeta() +
                  "/Taldo.dll ;Jet OLEDB:Database Password= "
                  "Qx7Lm2Vb9TpWc4Hd");
}

// The per-operation string leaves the port to the driver: nothing between the two keys.
TEST(Conexiones, AbrirCentralUsaElPuertoPredeterminadoYGuardaSuCadena) {
    Configuracion().Cadena_Conexion_Central = "otra";
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    EXPECT_TRUE(conexion.Abierta());
    const std::string& cadena = Configuracion().Cadena_Conexion_Central;
    EXPECT_EQ(cadena, Armar_Cadena_Central(kBase_Central, kServidor_Local, ""));
    EXPECT_NE(cadena.find(";PORT=;OPTION=16387;STMT=;\""), std::string::npos);
    Cerrar_Conexion(conexion);
    EXPECT_FALSE(conexion.Abierta());
}

}  // namespace
}  // namespace facturador

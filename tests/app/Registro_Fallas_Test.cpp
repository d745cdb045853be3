#include "data/Registro_Fallas.h"

#include "Apoyo_App.h"

namespace facturador::pruebas {
namespace {

TEST(Registro_Fallas, Cada_Linea_A_Lo_Sumo_Una_Vez_Por_Minuto_Y_La_Recuperacion_Una_Vez) {
    const std::string linea_a = "Error:  Sin servidor  -  Paso A";
    Entorno_Pruebas entorno;
    Registro_Fallas registro;
    registro.Cerrar_Ciclo();
    EXPECT_EQ(Leer_Log(), "") << "no recovery without a failure";

    registro.Registrar("Sin servidor", "Paso A");
    registro.Registrar("Sin servidor", "Paso B");
    entorno.reloj.Avanzar_Segundos(59);
    registro.Registrar("Sin servidor", "Paso A");
    registro.Registrar("Sin servidor", "Paso B");
    EXPECT_EQ(Veces(Leer_Log(), linea_a), 1);
    EXPECT_EQ(Veces(Leer_Log(), "Paso B"), 1);
    entorno.reloj.Avanzar_Segundos(1);
    registro.Registrar("Sin servidor", "Paso A");
    EXPECT_EQ(Veces(Leer_Log(), linea_a), 2);

    // A clock set back does not hide the failure.
    entorno.reloj.Avanzar_Segundos(-3600);
    registro.Registrar("Sin servidor", "Paso A");
    EXPECT_EQ(Veces(Leer_Log(), linea_a), 3);

    registro.Cerrar_Ciclo();  // the failing cycle itself
    registro.Cerrar_Ciclo();
    registro.Cerrar_Ciclo();
    EXPECT_EQ(Veces(Leer_Log(), kLinea_Recuperacion), 1);

    // After the recovery a new failure is written at once.
    entorno.reloj.Avanzar_Segundos(5);
    registro.Registrar("Sin servidor", "Paso A");
    EXPECT_EQ(Veces(Leer_Log(), linea_a), 4);
}

}  // namespace
}  // namespace facturador::pruebas

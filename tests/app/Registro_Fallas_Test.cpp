#include "app/Registro_Fallas.h"

#include <gtest/gtest.h>

#include "Apoyo_App.h"

namespace facturador::pruebas {
namespace {

const std::string kLinea_A = "Error:  Sin servidor  -  Paso A";

TEST(Registro_Fallas, La_Misma_Linea_Se_Escribe_A_Lo_Sumo_Una_Vez_Por_Minuto) {
    Entorno_Pruebas entorno;
    Registro_Fallas registro;
    registro.Registrar("Sin servidor", "Paso A");
    registro.Registrar("Sin servidor", "Paso B");
    entorno.reloj.Avanzar_Segundos(59);
    registro.Registrar("Sin servidor", "Paso A");
    registro.Registrar("Sin servidor", "Paso B");
    EXPECT_EQ(Veces(Leer_Log(), kLinea_A), 1);
    EXPECT_EQ(Veces(Leer_Log(), "Paso B"), 1);

    entorno.reloj.Avanzar_Segundos(1);
    registro.Registrar("Sin servidor", "Paso A");
    EXPECT_EQ(Veces(Leer_Log(), kLinea_A), 2);
}

TEST(Registro_Fallas, Un_Reloj_Atrasado_No_Oculta_La_Falla) {
    Entorno_Pruebas entorno;
    Registro_Fallas registro;
    registro.Registrar("Sin servidor", "Paso A");
    entorno.reloj.Avanzar_Segundos(-3600);
    registro.Registrar("Sin servidor", "Paso A");
    EXPECT_EQ(Veces(Leer_Log(), kLinea_A), 2);
}

TEST(Registro_Fallas, La_Recuperacion_Se_Escribe_Una_Vez_Y_Una_Falla_Nueva_Enseguida) {
    Entorno_Pruebas entorno;
    Registro_Fallas registro;
    registro.Cerrar_Ciclo();
    EXPECT_EQ(Leer_Log(), "");

    registro.Registrar("Sin servidor", "Paso A");
    registro.Cerrar_Ciclo();  // the failing cycle itself
    registro.Cerrar_Ciclo();
    registro.Cerrar_Ciclo();
    EXPECT_EQ(Veces(Leer_Log(), kLinea_Recuperacion), 1);
    EXPECT_FALSE(registro.En_Falla());

    entorno.reloj.Avanzar_Segundos(5);
    registro.Registrar("Sin servidor", "Paso A");
    EXPECT_EQ(Veces(Leer_Log(), kLinea_A), 2);
}

}  // namespace
}  // namespace facturador::pruebas

#include "Apoyo_App.h"

namespace facturador::pruebas {
namespace {

using Reactivacion_Test = Prueba_Ciclo;

std::string Solicitudes() {
    return Valor_Central(
        "SELECT GROUP_CONCAT(ID, ':', Status, ':', IFNULL(Resultado, '') ORDER BY ID) FROM "
        "Solicitudes_de_Facturas_OL");
}

// The operator is asked first; declining changes nothing and the window may hide again. A failure
// is shown and changes nothing. Confirmed, a request of 30 July 2024 stays rejected and one of 31
// July goes back to pending with an empty result; stamped ones are left alone.
TEST_F(Reactivacion_Test, Desde_El_31_De_Julio_Vuelven_A_Pendiente_Solo_Si_Se_Confirma) {
    Ejecutar_Central(
        "INSERT INTO Solicitudes_de_Facturas_OL (ID, Fecha, Status, Resultado) VALUES "
        "(1, '2024/07/30', 4, 'Error: uno'), (2, '2024/07/31', 4, 'Error: dos'), "
        "(3, '2024/08/02', 3, 'Timbrada')");
    const std::string antes = "1:4:Error: uno,2:4:Error: dos,3:3:Timbrada";
    const std::string pregunta =
        "confirmacion: ATENCION / Se reactivarán las Solicitudes de Facturas ingresadas a partir "
        "del 31-julio-2024 y que quedaron como Rechazadas.";
    ciclo.cmdDesrechazar_Click();
    EXPECT_EQ(Solicitudes(), antes);
    EXPECT_EQ(vista.llamadas, (std::vector<std::string>{"ocultamiento:0", "ocultamiento:1"}));

    entorno.operador.respuestas = {true};
    {
        const Tabla_Ausente tabla("Solicitudes_de_Facturas_OL");
        ciclo.cmdDesrechazar_Click();
    }
    EXPECT_EQ(Solicitudes(), antes);

    entorno.operador.respuestas = {true};
    ciclo.cmdDesrechazar_Click();
    EXPECT_EQ(Solicitudes(), "1:4:Error: uno,2:1:,3:3:Timbrada");
    const auto mostrados = entorno.operador.Textos();
    ASSERT_EQ(mostrados.size(), 4u);
    EXPECT_EQ(mostrados[0], pregunta);
    EXPECT_EQ(mostrados[1], pregunta);
    EXPECT_TRUE(mostrados[2].starts_with(
        "advertencia: Se produjo un error / No se pudieron reactivar las Solicitudes de Facturas "
        "rechazadas; ninguna fue modificada. Detalle: "))
        << mostrados[2];
    EXPECT_EQ(mostrados[3], pregunta);
}

}  // namespace
}  // namespace facturador::pruebas

#include "Apoyo_App.h"

namespace facturador::pruebas {
namespace {

using Reactivacion_Test = Prueba_Ciclo;

std::string Solicitudes() {
    return Valor_Central(
        "SELECT GROUP_CONCAT(ID, ':', Status, ':', IFNULL(Resultado, '') ORDER BY ID) FROM "
        "Solicitudes_de_Facturas_OL");
}

TEST_F(Reactivacion_Test, Desde_El_31_De_Julio_Vuelven_A_Pendiente_Solo_Si_Se_Confirma) {
    Ejecutar_Central(
        "INSERT INTO Solicitudes_de_Facturas_OL (ID, Fecha, Status, Resultado) VALUES "
        "(1, '2024/07/30', 4, 'Error: uno'), (2, '2024/07/31', 4, 'Error: dos'), "
        "(3, '2024/08/02', 3, 'Timbrada')");
    const std::string antes = "1:4:Error: uno,2:4:Error: dos,3:3:Timbrada";

    // Declined: nothing changes, and the window may hide again.
    ciclo.cmdDesrechazar_Click();
    EXPECT_EQ(Solicitudes(), antes);
    EXPECT_EQ(vista.llamadas, (std::vector<std::string>{"ocultamiento:0", "ocultamiento:1"}));

    // A failure is shown to the operator and changes nothing.
    entorno.operador.respuestas = {true};
    {
        const Tabla_Ausente tabla("Solicitudes_de_Facturas_OL");
        ciclo.cmdDesrechazar_Click();
    }
    EXPECT_EQ(entorno.operador.De_Tipo("advertencia").size(), 1u);
    EXPECT_EQ(Solicitudes(), antes);

    // Confirmed: 30 July stays rejected, 31 July goes back to pending.
    entorno.operador.respuestas = {true};
    ciclo.cmdDesrechazar_Click();
    EXPECT_EQ(Solicitudes(), "1:4:Error: uno,2:1:,3:3:Timbrada");
    EXPECT_EQ(entorno.operador.De_Tipo("confirmacion").size(), 3u);
}

}  // namespace
}  // namespace facturador::pruebas

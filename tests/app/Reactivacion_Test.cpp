#include "Apoyo_App.h"

namespace facturador::pruebas {
namespace {

class Reactivacion_Test : public Prueba_App {
  protected:
    Reactivacion_Test() {
        Ejecutar_Central(
            "INSERT INTO Solicitudes_de_Facturas_OL (ID, Fecha, Status, Resultado) VALUES "
            "(1, '2024/07/30', 4, 'Error: uno'), (2, '2024/07/31', 4, 'Error: dos'), "
            "(3, '2024/08/02', 3, 'Timbrada')");
    }

    static std::string Solicitudes() {
        std::string todas;
        Recordset rs = Consultar_Central(
            "SELECT ID, Status, Resultado FROM Solicitudes_de_Facturas_OL ORDER BY ID");
        for (; !rs.Fin(); rs.Mover_Siguiente())
            todas += rs.Texto("ID") + ":" + rs.Texto("Status") + ":" + rs.Texto("Resultado") + ";";
        return todas;
    }

    const std::string antes_ = "1:4:Error: uno;2:4:Error: dos;3:3:Timbrada;";
};

TEST_F(Reactivacion_Test, Vuelven_A_Pendiente_Las_Rechazadas_Desde_El_31_De_Julio_De_2024) {
    entorno.operador.respuestas = {true};
    ciclo.cmdDesrechazar_Click();
    EXPECT_EQ(Solicitudes(), "1:4:Error: uno;2:1:;3:3:Timbrada;");
    const auto preguntas = entorno.operador.De_Tipo("confirmacion");
    ASSERT_EQ(preguntas.size(), 1u);
    EXPECT_EQ(preguntas[0].titulo, "ATENCION");
    EXPECT_EQ(preguntas[0].texto,
              "Se reactivarán las Solicitudes de Facturas ingresadas a partir del "
              "31-julio-2024 y que quedaron como Rechazadas.");
    EXPECT_EQ(vista.llamadas, (std::vector<std::string>{"ocultamiento:0", "ocultamiento:1"}));
}

TEST_F(Reactivacion_Test, Declinar_No_Cambia_Nada) {
    entorno.operador.respuestas = {false};
    ciclo.cmdDesrechazar_Click();
    EXPECT_EQ(Solicitudes(), antes_);
    EXPECT_EQ(vista.llamadas.back(), "ocultamiento:1");
}

TEST_F(Reactivacion_Test, Una_Falla_Se_Le_Avisa_Al_Operador) {
    entorno.operador.respuestas = {true};
    {
        Tabla_Retirada solicitudes("Solicitudes_de_Facturas_OL");
        ciclo.cmdDesrechazar_Click();
    }
    const auto avisos = entorno.operador.De_Tipo("advertencia");
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_NE(avisos[0].texto.find("No se pudieron reactivar"), std::string::npos);
    EXPECT_EQ(vista.llamadas.back(), "ocultamiento:1");
    EXPECT_EQ(Solicitudes(), antes_);
}

}  // namespace
}  // namespace facturador::pruebas

#include "app/Turno_Trabajo.h"

#include "Apoyo_App.h"
#include "data/Conexiones.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Candado_Central.h"

namespace facturador::pruebas {
namespace {

// Two copies of the program pointed at the same central database, one of them this test's: the
// copy without the worker lock must issue nothing, even right after a server restart released
// the lock it held, and take over once the lock is free.
class Turno_Test : public Prueba_Ciclo {
  protected:
    Turno_Test() {
        Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "sucursal"), 3, "Centro", "A", 1);
        Sembrar_Ticket(4711, 3, "1000");
        Cargar_Sucursales();
        Cargar_Datos_de_Emision();
    }

    static std::string Status(int id) {
        return Valor_Central("SELECT Status FROM Solicitudes_de_Facturas_OL WHERE ID = " +
                             std::to_string(id));
    }

    Candado_Central otra_copia{"facturador:Morvane_Central"};
};

TEST_F(Turno_Test, La_Copia_Sin_Turno_No_Genera_Lo_Dice_Una_Vez_Y_Lo_Toma_Al_Quedar_Libre) {
    ASSERT_EQ(otra_copia.Asegurar(Cadena_Central_de_Operacion()), Candado_Central::Estado::Tenido);
    Sembrar_Solicitud(1);
    ciclo.tmrTimer_Timer();
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Status(1), "1");
    EXPECT_EQ(Veces(Leer_Log(), kLinea_Otra_Copia_Trabaja), 1);

    Sembrar_Fila(
        "Solicitudes_de_Facturas_OL",
        {{"ID", "2"}, {"Fecha", "'2026/12/01'"}, {"Status", "4"}, {"Resultado", "'Error: x'"}});
    entorno.operador.respuestas.push_back(true);
    ciclo.cmdDesrechazar_Click();  // reactivation is the worker's too
    EXPECT_EQ(Status(2), "4");
    ASSERT_EQ(entorno.operador.De_Tipo("advertencia").size(), 1u);
    EXPECT_EQ(entorno.operador.De_Tipo("advertencia")[0].texto.rfind("Otra copia", 0), 0u);

    otra_copia.Soltar();
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Status(1), "2");
    EXPECT_EQ(Veces(Leer_Log(), kLinea_Turno_Tomado), 1);
}

TEST_F(Turno_Test, Tras_Reiniciar_El_Servidor_Nadie_Trabaja_Con_Un_Turno_Perdido) {
    ciclo.tmrTimer_Timer();  // this copy holds the lock
    Reiniciar_Servidor_Central();
    ASSERT_EQ(otra_copia.Asegurar(Cadena_Central_de_Operacion()), Candado_Central::Estado::Tenido);
    Sembrar_Solicitud(1);
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Status(1), "1");
    EXPECT_EQ(Veces(Leer_Log(), kLinea_Otra_Copia_Trabaja), 1);
}

}  // namespace
}  // namespace facturador::pruebas

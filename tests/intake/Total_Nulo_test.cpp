#include "intake/Apoyo_Recepcion.h"
#include "intake/Recepcion.h"

namespace facturador::pruebas {
namespace {

using Recepcion_Total_Nulo = Prueba_Recepcion;

// A request whose total the outside system left Null is stamped for 0.00 and records, and logs,
// an amount of 0 against its ticket.
TEST_F(Recepcion_Total_Nulo, SeAsientaUnMontoDeCero) {
    Sembrar_Solicitud(1, {{"Total", "NULL"}});
    Dejar_Timbrado(1);
    Almacenar_Comprobantes_Pendientes();
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Solicitud(1, "Status"), "3");
    EXPECT_EQ(Valor_Central("SELECT CONCAT(Total, '/', Status) FROM Montos_Facturados"), "0/0");
    EXPECT_EQ(Veces(Leer_Log(), "Se asentó el monto Facturado:  $ 0    Factura: A-1501"), 1);
}

}  // namespace
}  // namespace facturador::pruebas

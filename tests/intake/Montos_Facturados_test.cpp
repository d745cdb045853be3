#include <gtest/gtest.h>

#include "intake/Apoyo_Recepcion.h"
#include "intake/Montos_Facturados.h"

namespace facturador::pruebas {
namespace {

Solicitud_Timbrado Pedido(double total, const std::string& serie = "A") {
    Solicitud_Timbrado s;
    s.ID = 7;
    s.ID_Sucursal = 3;
    s.Nro_Ticket = 4711;
    s.Total = total;
    s.Serie = serie;
    s.Folio = 1500;
    return s;
}

const Fecha_Hora kAhora{2026, 12, 5, 9, 5, 40};

TEST(Montos_Facturados, TenQuotedValuesWithTheTotalInItsShortestForm) {
    EXPECT_EQ(Sentencia_Monto_Facturado(Pedido(116.5), kAhora),
              "INSERT INTO Montos_Facturados (Nro_Ticket, ID_Solicitud, ID_Sucursal, Fecha, Hora, "
              "Total, Status, Serie, Folio, FUM) VALUES ('4711', '7', '3', '2026/12/05', "
              "'09:05', '116.5', '0', 'A', '1500', '2026/12/05')");
    EXPECT_NE(Sentencia_Monto_Facturado(Pedido(116), kAhora).find(", '116', '0', "),
              std::string::npos);
    EXPECT_NE(Sentencia_Monto_Facturado(Pedido(0), kAhora).find(", '0', '0', "), std::string::npos);
    EXPECT_NE(Sentencia_Monto_Facturado(Pedido(116, "O'B"), kAhora).find(", 'O\\'B', "),
              std::string::npos);
}

class Asentar_Monto : public Prueba_Recepcion {};

TEST_F(Asentar_Monto, QueuedAndLoggedWithItsExactBlanks) {
    Asentar_Monto_Facturado(Pedido(116.5));
    ASSERT_EQ(Cola(), std::vector<std::string>{Sentencia_Monto_Facturado(Pedido(116.5), Ahora())});
    EXPECT_NE(Leer_Log().find("Ver. V. 5.3.0 - 10:15 -  Solicitud ID: 7  -  Ticket Nro. 4711 - "
                              "Se asentó el monto Facturado:  $ 116.5    Factura: A-1500\r\n"),
              std::string::npos)
        << Leer_Log();
}

}  // namespace
}  // namespace facturador::pruebas

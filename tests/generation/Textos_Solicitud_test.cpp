#include <gtest/gtest.h>

#include "generation/Rechazo.h"
#include "generation/Validacion_Ticket.h"

namespace facturador {
namespace {

TEST(Textos_Rechazo, QuitanApostrofesYComillasYRecortanBlancos) {
    EXPECT_EQ(Texto_Sin_Tilde("  L'Orange d'Or  "), "LOrange dOr");
    EXPECT_EQ(Texto_Sin_Comillas(" \"Sucursal\" Ñandú "), "Sucursal Ñandú");
    EXPECT_EQ(Texto_Sin_Tilde("\"sin\" cambio"), "\"sin\" cambio");
    EXPECT_EQ(Texto_Sin_Comillas("\ttab\t"), "\ttab\t");
    EXPECT_EQ(Texto_Sin_Tilde("' '"), "");
}

TEST(Textos_Rechazo, CortaPorCaracteresNoPorBytes) {
    EXPECT_EQ(Primeros_Caracteres("añoñ", 3), "año");
    EXPECT_EQ(Primeros_Caracteres("año", 3), "año");
    EXPECT_EQ(Primeros_Caracteres("año", 10), "año");
    EXPECT_EQ(Primeros_Caracteres("€€€", 2), "€€");
}

TEST(Motivos_Rechazo, LasTresFormasConSusBlancos) {
    EXPECT_EQ(Motivo_Ticket_Inexistente(500, "Centro"),
              "El Ticket Nro: 500  (Sucursal: Centro) NO existe");
    EXPECT_EQ(Motivo_Monto_Excedido(4711, "Centro", 350, 0, 300),
              "El Monto de la Solicitud ($ 350.00) Excede al monto del Ticket Nro: 4711  "
              "(Sucursal: Centro) ($ 300.00)");
    EXPECT_EQ(Motivo_Monto_Excedido(4711, "Centro", 600, 1000, 1500),
              "El Monto de la Solicitud ($ 600.00) + El Monto Ya Facturado ($ 1,000.00)  Excede "
              "al monto del Ticket Nro: 4711  (Sucursal: Centro) ($ 1,500.00)");
    EXPECT_EQ(Motivo_Monto_Excedido(4711, "Centro", 10, 300, 300),
              "El Ticket Nro: 4711  (Sucursal: Centro) Ya fue Facturado Completamente.");
}

}  // namespace
}  // namespace facturador

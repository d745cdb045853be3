#include "Siembra_Central.h"

namespace facturador::pruebas {
namespace {

class Solicitudes_Pendientes_Carga : public Prueba_Central {
  protected:
    std::vector<int32_t> Ids() {
        Cargar_Pendientes();
        std::vector<int32_t> ids;
        for (const auto& s : Solicitudes_Pendientes())
            ids.push_back(s.ID);
        return ids;
    }
};

TEST_F(Solicitudes_Pendientes_Carga, SoloPendientesConRfcEnOrdenDeIdYConLasReglasDeCadaCampo) {
    Sembrar_Solicitud(7, {{"Metodo", "''"}, {"Folio", "125"}, {"Nombre", "' O''Brien '"}});
    Sembrar_Solicitud(3, {{"Metodo", "NULL"},
                          {"Folio", "NULL"},
                          {"Nombre", "NULL"},
                          {"ID_Sucursal", "NULL"},
                          {"Fecha", "'2026/11/29'"},
                          {"Total", "1250.75"},
                          {"Serie", "'A'"}});
    Sembrar_Solicitud(5);
    Sembrar_Solicitud(4, {{"RFC", "''"}});
    Sembrar_Solicitud(6, {{"RFC", "NULL"}});
    Sembrar_Solicitud(8, {{"Status", "2"}});
    ASSERT_EQ(Ids(), (std::vector<int32_t>{3, 5, 7}));
    const auto& s = Solicitudes_Pendientes();
    EXPECT_EQ(
        s[0].Metodo + "|" + s[0].Folio + "|" + s[0].Nombre + "|" + s[0].Fecha + "|" + s[0].Serie,
        "99|0||29/11/2026|A");
    EXPECT_EQ(s[0].ID_Sucursal, 0);
    EXPECT_EQ(s[0].Total, 1250.75);
    EXPECT_EQ(s[1].Metodo + "|" + s[1].Folio, "01|0");
    EXPECT_EQ(s[2].Metodo + "|" + s[2].Folio + "|" + s[2].Nombre, "99|125| O'Brien ");

    Vaciar_Base_Central();
    EXPECT_TRUE(Ids().empty());
}

// A row the outside system left incomplete no longer holds up every other request, and the log
// tells about it once, not every second; once more only if it breaks again after being mended.
TEST_F(Solicitudes_Pendientes_Carga, FilasIncompletasSeSaltanYSeAvisanUnaVez) {
    Sembrar_Solicitud(5, {{"Nro_Ticket", "NULL"}});
    Sembrar_Solicitud(6, {{"Total", "NULL"}});
    Sembrar_Solicitud(7, {{"Fecha", "NULL"}});
    Sembrar_Solicitud(8);
    EXPECT_EQ(Ids(), (std::vector<int32_t>{8}));
    EXPECT_EQ(Ids(), (std::vector<int32_t>{8}));
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, "Solicitud ID: 5 - No se puede procesar: Nro_Ticket vacío o no válido."),
              1);
    EXPECT_EQ(Veces(log, "Solicitud ID: 6 - No se puede procesar: Total"), 1);
    EXPECT_EQ(Veces(log, "Solicitud ID: 7 - No se puede procesar: Fecha"), 1);

    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Nro_Ticket = 4711 WHERE ID = 5");
    EXPECT_EQ(Ids(), (std::vector<int32_t>{5, 8}));
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Nro_Ticket = NULL WHERE ID = 5");
    Ids();
    EXPECT_EQ(Veces(Leer_Log(), "Solicitud ID: 5 - No se puede procesar"), 2);
}

}  // namespace
}  // namespace facturador::pruebas

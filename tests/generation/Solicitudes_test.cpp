#include "Siembra_Central.h"

namespace facturador::pruebas {
namespace {

class Solicitudes_Pendientes_Carga : public Prueba_Central {
  protected:
    void Cargar() {
        Conexion conexion;
        Abrir_Conexion_Central(conexion);
        Cargar_Solicitudes_Pendientes(conexion);
        Cerrar_Conexion(conexion);
    }
    std::vector<int32_t> Ids() const {
        std::vector<int32_t> ids;
        for (const auto& s : Solicitudes_Pendientes())
            ids.push_back(s.ID);
        return ids;
    }
};

TEST_F(Solicitudes_Pendientes_Carga, SoloPendientesConRfcEnOrdenDeId) {
    Sembrar_Solicitud(7);
    Sembrar_Solicitud(3);
    Sembrar_Solicitud(5);
    Sembrar_Solicitud(4, {{"RFC", "''"}});
    Sembrar_Solicitud(6, {{"RFC", "NULL"}});
    Sembrar_Solicitud(8, {{"Status", "2"}});
    Cargar();
    EXPECT_EQ(Ids(), (std::vector<int32_t>{3, 5, 7}));

    Vaciar_Base_Central();
    Cargar();
    EXPECT_TRUE(Solicitudes_Pendientes().empty());
}

TEST_F(Solicitudes_Pendientes_Carga, ReglasDeCadaCampo) {
    Sembrar_Solicitud(1, {{"Metodo", "NULL"},
                          {"Folio", "NULL"},
                          {"Nombre", "NULL"},
                          {"ID_Sucursal", "NULL"},
                          {"Fecha", "'2026/11/29'"},
                          {"Total", "1250.75"},
                          {"Serie", "'A'"}});
    Sembrar_Solicitud(2, {{"Metodo", "''"}, {"Folio", "125"}, {"Nombre", "' O''Brien '"}});
    Sembrar_Solicitud(3, {{"Metodo", "'01'"}});
    Cargar();
    const auto& s = Solicitudes_Pendientes();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].Metodo, "99");
    EXPECT_EQ(s[0].Folio, "0");
    EXPECT_EQ(s[0].Nombre, "");
    EXPECT_EQ(s[0].ID_Sucursal, 0);
    EXPECT_EQ(s[0].Fecha, "29/11/2026");
    EXPECT_EQ(s[0].Total, 1250.75);
    EXPECT_EQ(s[0].Serie, "A");
    EXPECT_EQ(s[0].ID_Cliente, 501);
    EXPECT_EQ(s[0].Nro_Ticket, 4711);
    EXPECT_EQ(s[1].Metodo, "99");
    EXPECT_EQ(s[1].Folio, "125");
    EXPECT_EQ(s[1].Nombre, " O'Brien ");  // untouched
    EXPECT_EQ(s[2].Metodo, "01");
}

// A row the outside system left incomplete no longer holds up every other request, and the log
// tells about it once, not every second.
TEST_F(Solicitudes_Pendientes_Carga, FilasIncompletasSeSaltanYSeAvisanUnaVez) {
    Sembrar_Solicitud(5, {{"Nro_Ticket", "NULL"}});
    Sembrar_Solicitud(6, {{"Total", "NULL"}});
    Sembrar_Solicitud(7, {{"Fecha", "NULL"}});
    Sembrar_Solicitud(8);
    Cargar();
    EXPECT_EQ(Ids(), (std::vector<int32_t>{8}));
    Cargar();
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, "Solicitud ID: 5 - No se puede procesar: Nro_Ticket vacío o no válido."),
              1);
    EXPECT_EQ(Veces(log, "Solicitud ID: 6 - No se puede procesar: Total"), 1);
    EXPECT_EQ(Veces(log, "Solicitud ID: 7 - No se puede procesar: Fecha"), 1);

    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Nro_Ticket = 4711 WHERE ID = 5");
    Cargar();
    EXPECT_EQ(Ids(), (std::vector<int32_t>{5, 8}));
    // Broken again after it was mended: told again.
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Nro_Ticket = NULL WHERE ID = 5");
    Cargar();
    EXPECT_EQ(Veces(Leer_Log(), "Solicitud ID: 5 - No se puede procesar"), 2);
}

}  // namespace
}  // namespace facturador::pruebas

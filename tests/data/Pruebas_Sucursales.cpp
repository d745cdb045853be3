#include <gtest/gtest.h>

#include "apoyo/Bd_Central.h"
#include "data/Sucursales.h"

namespace facturador {
namespace {

class Cargar_Sucursales_Test : public testing::Test {
  protected:
    void SetUp() override {
        pruebas::Vaciar_Base_Central();
        Reiniciar_Sucursales();
    }
};

TEST_F(Cargar_Sucursales_Test, TablaVaciaNoDaNingunNombre) {
    Cargar_Sucursales();
    EXPECT_TRUE(Sucursales_Cargadas().empty());
    EXPECT_EQ(Nombre_Sucursal(0), "");
    EXPECT_EQ(Nombre_Sucursal(1), "");
}

TEST_F(Cargar_Sucursales_Test, OrdenPorNombreYNombreNuloVacio) {
    pruebas::Ejecutar_Central(
        "INSERT INTO Sucursales (ID, Nombre) VALUES (3, 'Norte'), (1, 'Centro'), (2, NULL)");
    Cargar_Sucursales();
    const auto& lista = Sucursales_Cargadas();
    ASSERT_EQ(lista.size(), 3u);
    EXPECT_EQ(lista[0].ID, 2);
    EXPECT_EQ(lista[1].ID, 1);
    EXPECT_EQ(lista[2].ID, 3);
    EXPECT_EQ(Nombre_Sucursal(2), "");
    EXPECT_EQ(Nombre_Sucursal(1), "Centro");
    EXPECT_EQ(Nombre_Sucursal(3), "Norte");
    EXPECT_EQ(Nombre_Sucursal(4), "");
    EXPECT_EQ(Nombre_Sucursal(0), "");

    // Loading again replaces the list instead of adding to it.
    Cargar_Sucursales();
    EXPECT_EQ(Sucursales_Cargadas().size(), 3u);
}

TEST(Nombre_Sucursal_Test, ConNumeroRepetidoGanaElPrimeroDeLaLista) {
    const std::vector<Sucursal> lista{{4, "Alameda"}, {7, "Bosques"}, {4, "Zocalo"}};
    EXPECT_EQ(Buscar_Nombre_Sucursal(lista, 4), "Alameda");
    EXPECT_EQ(Buscar_Nombre_Sucursal(lista, 7), "Bosques");
}

}  // namespace
}  // namespace facturador

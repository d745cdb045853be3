#include <gtest/gtest.h>

#include "apoyo/Bd_Central.h"
#include "data/Sucursales.h"

namespace facturador {
namespace {

TEST(Cargar_Sucursales_Test, OrdenPorNombreNombreNuloVacioYRepetidoGanaElPrimero) {
    pruebas::Vaciar_Base_Central();
    Reiniciar_Sucursales();
    Cargar_Sucursales();
    EXPECT_TRUE(Sucursales_Cargadas().empty());
    EXPECT_EQ(Nombre_Sucursal(0), "");

    pruebas::Ejecutar_Central(
        "INSERT INTO Sucursales (ID, Nombre) VALUES (3, 'Norte'), (1, 'Centro'), (2, NULL)");
    Cargar_Sucursales();
    Cargar_Sucursales();  // replaces the list instead of adding to it
    std::string lista;
    for (const Sucursal& s : Sucursales_Cargadas())
        lista += std::to_string(s.ID) + ":" + s.Nombre + " ";
    EXPECT_EQ(lista, "2: 1:Centro 3:Norte ");
    EXPECT_EQ(Nombre_Sucursal(3), "Norte");
    EXPECT_EQ(Nombre_Sucursal(4), "");

    const std::vector<Sucursal> repetida{{4, "Alameda"}, {7, "Bosques"}, {4, "Zocalo"}};
    EXPECT_EQ(Buscar_Nombre_Sucursal(repetida, 4), "Alameda");
}

}  // namespace
}  // namespace facturador

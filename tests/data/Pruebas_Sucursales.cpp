#include <gtest/gtest.h>

#include "apoyo/Bd_Central.h"
#include "data/Sucursales.h"

namespace facturador {
namespace {

// Loaded in order of name, a Null name as empty; loading again replaces the list; an unknown
// number, or any number before a branch exists, gives the empty name.
TEST(Cargar_Sucursales_Test, InOrderOfNameNullAsEmptyAndUnknownNumbersGiveNoName) {
    pruebas::Vaciar_Base_Central();
    Reiniciar_Sucursales();
    Cargar_Sucursales();
    EXPECT_TRUE(Sucursales_Cargadas().empty());
    EXPECT_EQ(Nombre_Sucursal(0), "");

    pruebas::Ejecutar_Central(
        "INSERT INTO Sucursales (ID, Nombre) VALUES (3, 'Norte'), (1, 'Centro'), (2, NULL)");
    Cargar_Sucursales();
    Cargar_Sucursales();
    std::string lista;
    for (const Sucursal& s : Sucursales_Cargadas())
        lista += std::to_string(s.ID) + ":" + s.Nombre + " ";
    EXPECT_EQ(lista, "2: 1:Centro 3:Norte ");
    EXPECT_EQ(Nombre_Sucursal(3) + "|" + Nombre_Sucursal(1) + "|" + Nombre_Sucursal(4),
              "Norte|Centro|");
}

}  // namespace
}  // namespace facturador

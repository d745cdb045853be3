#include "issuing_config/Intercambio_Timbrado.h"

#include <gtest/gtest.h>

namespace facturador::pruebas {
namespace {

// The recovery after a crash decides from these names alone which request a waiting file belongs
// to, so a name must read back exactly and nothing else in the queue may pass for one.
TEST(Intercambio_Timbrado, ElNombreTemporalSeLeeDeVueltaYNingunOtroPasaPorUno) {
    const std::string nombre = Nombre_Archivo_para_Timbrar("A.B", 1501);
    EXPECT_EQ(nombre, "Factura A.B Folio 1501.txt");
    const auto leido = Leer_Nombre_Temporal(Nombre_Temporal_en_Cola(nombre, 57));
    ASSERT_TRUE(leido);
    EXPECT_EQ(leido->Nombre_Archivo, nombre);
    EXPECT_EQ(leido->ID_Solicitud, 57);

    for (const char* otro : {"Factura A Folio 1.txt", ".Factura A Folio 1.txt.copiando",
                             ".Factura A Folio 1.txt..pendiente", "..57.pendiente",
                             ".Factura A Folio 1.txt.5x.pendiente", "Cancelar_A1.xml",
                             ".Factura A Folio 1.txt.99999999999.pendiente"})
        EXPECT_FALSE(Leer_Nombre_Temporal(otro)) << otro;
}

}  // namespace
}  // namespace facturador::pruebas

#include "generation/Folios.h"
#include "generation/Siembra_Central.h"

namespace facturador::pruebas {
namespace {

using Perfiles_Emision = Prueba_Central;

// Profiles load with their folders ("*" back to the separator) and are handed out as copies; a
// branch without one gets a blank profile. The loaded folio stays until the next load.
TEST_F(Perfiles_Emision, SeCarganConSusCarpetasSonCopiasYFaltanEnBlanco) {
    Cargar_Datos_de_Emision();
    EXPECT_TRUE(Datos_Emision_Sucursales().empty());
    EXPECT_EQ(Obtener_Datos_Emision(3), Datos_Emision{});

    const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 15);
    Sembrar_Sucursal(4, "Norte", "B", 1);
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET Referencia = NULL, "
        "Ruta_Facturas_NO_Validas = 'sin_asterisco', email_envio = 'f@example.com' WHERE "
        "ID_Sucursal = 3");
    Cargar_Datos_de_Emision();
    ASSERT_EQ(Datos_Emision_Sucursales().size(), 2u);
    Datos_Emision d = Obtener_Datos_Emision(3);
    EXPECT_EQ(d.ID_Sucursal, 3);
    EXPECT_EQ(d.Ruta_Cola_Facturas, carpetas.cola);
    EXPECT_EQ(d.Ruta_Facturas_Validas, carpetas.validas);
    EXPECT_EQ(d.Ruta_Facturas_NO_Validas, "sin_asterisco");
    EXPECT_EQ(
        d.Serie_Facturas + d.Folio_Inicial_Facturas + "|" + d.Referencia + "|" + d.email_envio,
        "A15||f@example.com");
    EXPECT_EQ(Obtener_Datos_Emision(4).Serie_Facturas, "B");
    EXPECT_EQ(Obtener_Datos_Emision(5), Datos_Emision{});
    d.Serie_Facturas = "Z";
    EXPECT_EQ(Obtener_Datos_Emision(3).Serie_Facturas, "A");

    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    Actualizar_Proximo_Folio(conexion, 3);
    Cerrar_Conexion(conexion);
    EXPECT_EQ(Obtener_Datos_Emision(3).Folio_Inicial_Facturas, "15");
    Cargar_Datos_de_Emision();
    EXPECT_EQ(Obtener_Datos_Emision(3).Folio_Inicial_Facturas, "16");
}

}  // namespace
}  // namespace facturador::pruebas

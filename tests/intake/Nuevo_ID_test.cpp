#include <gtest/gtest.h>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "data/Conexiones.h"
#include "intake/Nuevo_ID.h"

namespace facturador::pruebas {
namespace {

int32_t Nuevo(const std::string& tabla, const std::string& columna) {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    const int32_t id = Nuevo_ID(conexion, tabla, columna);
    Cerrar_Conexion(conexion);
    return id;
}

TEST(Nuevo_ID, NegativosQueBajanDesdeLaClaveMasBaja) {
    Entorno_Pruebas entorno;
    Vaciar_Base_Central();
    EXPECT_EQ(Nuevo("Facturas_Electronicas", "ID_Factura"), -1);
    Ejecutar_Central("INSERT INTO Facturas_Electronicas (ID_Factura) VALUES (5), (900)");
    EXPECT_EQ(Nuevo("Facturas_Electronicas", "ID_Factura"), -1);
    Ejecutar_Central("INSERT INTO Facturas_Electronicas (ID_Factura) VALUES (-7), (-3)");
    EXPECT_EQ(Nuevo("Facturas_Electronicas", "ID_Factura"), -8);
    Ejecutar_Central(
        "INSERT INTO Comprobantes_Fiscales (ID, ID_Factura) VALUES (-10, -7), (12, -7)");
    EXPECT_EQ(Nuevo("Comprobantes_Fiscales", "ID"), -11);
}

}  // namespace
}  // namespace facturador::pruebas

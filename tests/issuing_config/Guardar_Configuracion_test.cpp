#include "issuing_config/Guardar_Configuracion.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace facturador {
namespace {

// The window's save covers the values; here the statement's end: the folders with "*" for the
// separator, two blanks before the WHERE, and no e-mail.
TEST(Sentencia_Guardar_Datos_Emision, EndsWithTheFoldersAndTwoBlanksBeforeWhere) {
    const std::string sep(1, std::filesystem::path::preferred_separator);
    Datos_Capturados d;
    d.ID_Sucursal = 7;
    d.Ruta_Cola_Facturas = "C:" + sep + "Cola" + sep;
    d.Ruta_Facturas_Validas = "V";
    d.Ruta_Facturas_NO_Validas = "N" + sep + "x";
    d.email_envio = "never@example.com";
    const std::string sentencia = Sentencia_Guardar_Datos_Emision(d, 12);
    EXPECT_TRUE(sentencia.ends_with(
        ", Leyenda_de_Pagare_Facturas = '', Ruta_Cola_Facturas = 'C:*Cola*', "
        "Ruta_Facturas_Validas = 'V', Ruta_Facturas_NO_Validas = 'N*x'  WHERE ID_Sucursal = 7"))
        << sentencia;
    EXPECT_EQ(sentencia.find("never@"), std::string::npos);
}

}  // namespace
}  // namespace facturador

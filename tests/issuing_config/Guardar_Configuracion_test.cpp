#include "issuing_config/Guardar_Configuracion.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace facturador {
namespace {

TEST(Sentencia_Guardar_Datos_Emision, AssignsEveryColumnInOrderAndEndsWithTwoBlanksBeforeWhere) {
    const char sep = std::filesystem::path::preferred_separator;
    Datos_Capturados d;
    d.ID_Sucursal = 7;
    d.Razon_Social_Emisor = "O'Hara \\ Hijos";
    d.RFC_Emisor = "RFC";
    d.Calle = "c";
    d.Nro_Exterior = "ne";
    d.Nro_Interior = "ni";
    d.Colonia = "co";
    d.Ciudad = "ci";
    d.Delegacion = "de";
    d.Estado = "Jalisco";
    d.CP = "44100";
    d.Pais = "México";
    d.Referencia = "r";
    d.Calle_Domicilio_Expedicion = "C2";
    d.Nro_Exterior_Domicilio_Expedicion = "NE2";
    d.Nro_Interior_Domicilio_Expedicion = "NI2";
    d.Colonia_Domicilio_Expedicion = "CO2";
    d.Ciudad_Domicilio_Expedicion = "CI2";
    d.Delegacion_Domicilio_Expedicion = "DE2";
    d.Estado_Domicilio_Expedicion = "Colima";
    d.CP_Domicilio_Expedicion = "28000";
    d.Pais_Domicilio_Expedicion = "MX";
    d.Referencia_Domicilio_Expedicion = "R2";
    d.Serie_Facturas = "S";
    d.Folio_Inicial_Facturas = "ignored: the folio comes apart";
    d.Lugar_de_Expedicion_Facturas = "  Zapopan ";
    d.Regimen_Fiscal_Facturas = " 601 ";
    d.Ruta_Cola_Facturas = std::string("C:") + sep + "Cola" + sep;
    d.Ruta_Facturas_Validas = "V";
    d.Ruta_Facturas_NO_Validas = std::string("N") + sep + "x";
    d.email_envio = "never@example.com";
    EXPECT_EQ(
        Sentencia_Guardar_Datos_Emision(d, 12),
        "UPDATE Configuracion_Facturas_Electronicas SET Razon_Social_Emisor = 'O\\'Hara \\\\ "
        "Hijos', RFC_Emisor = 'RFC', Calle = 'c', Nro_Exterior = 'ne', Nro_Interior = 'ni', "
        "Colonia = 'co', Ciudad = 'ci', Delegacion = 'de', Estado = 'Jalisco', CP = '44100', "
        "Pais = 'México', Referencia = 'r', Calle_Domicilio_Expedicion = 'C2', "
        "Nro_Exterior_Domicilio_Expedicion = 'NE2', Nro_Interior_Domicilio_Expedicion = 'NI2', "
        "Colonia_Domicilio_Expedicion = 'CO2', Ciudad_Domicilio_Expedicion = 'CI2', "
        "Delegacion_Domicilio_Expedicion = 'DE2', Estado_Domicilio_Expedicion = 'Colima', "
        "CP_Domicilio_Expedicion = '28000', Pais_Domicilio_Expedicion = 'MX', "
        "Referencia_Domicilio_Expedicion = 'R2', Serie_Facturas = 'S', Folio_Inicial_Facturas = "
        "12, Lugar_de_Expedicion_Facturas = 'Zapopan', Regimen_Fiscal_Facturas = '601', "
        "Leyenda_de_Pagare_Facturas = '', Ruta_Cola_Facturas = 'C:*Cola*', "
        "Ruta_Facturas_Validas = 'V', Ruta_Facturas_NO_Validas = 'N*x'  WHERE ID_Sucursal = 7");
}

}  // namespace
}  // namespace facturador

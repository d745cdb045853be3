#include "issuing_config/Cambios_Perfiles.h"

#include "generation/Siembra_Central.h"
#include "issuing_config/Zona_Sucursal.h"

namespace facturador::pruebas {
namespace {

using Cambios_Perfiles = Prueba_Central;

std::string Huella() {
    return En_Central(Leer_Huella_Perfiles);
}

bool Tomar() {
    return En_Central(Tomar_Perfiles_Cambiados);
}

// Every profile column the program reads (from the schema, so a later one is covered) changes the
// fingerprint; the folio, advanced with every invoice, and a column never read do not.
TEST_F(Cambios_Perfiles, La_Huella_Cambia_Con_Cada_Columna_Leida_Y_No_Con_El_Folio) {
    Sembrar_Sucursal(3, "Centro");
    Sembrar_Sucursal(4, "Norte");
    const std::string inicial = Huella();
    Recordset columnas = Consultar_Central(
        "SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = "
        "'Morvane_Central' AND TABLE_NAME = 'Configuracion_Facturas_Electronicas' AND "
        "COLUMN_NAME NOT IN ('ID_Sucursal', 'Folio_Inicial_Facturas', "
        "'Leyenda_de_Pagare_Facturas')");
    int vistas = 0;
    for (; !columnas.Fin(); columnas.Mover_Siguiente(), ++vistas) {
        const std::string columna = columnas.Texto(size_t{0});
        const std::string donde = " WHERE ID_Sucursal = 4";
        const std::string antes = Valor_Central(
            "SELECT QUOTE(" + columna + ") FROM Configuracion_Facturas_Electronicas" + donde);
        Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET " + columna + " = 'x'" +
                         donde);
        EXPECT_NE(Huella(), inicial) << columna;
        Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET " + columna + " = " +
                         antes + donde);
        EXPECT_EQ(Huella(), inicial) << columna;
    }
    EXPECT_EQ(vistas, 30);
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET Folio_Inicial_Facturas = 9000, "
        "Leyenda_de_Pagare_Facturas = 'otra'");
    EXPECT_EQ(Huella(), inicial);
    // The same values swapped between branches are another set of profiles.
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET Serie_Facturas = "
        "IF(ID_Sucursal = 3, 'B', 'A')");
    const std::string cruzada = Huella();
    EXPECT_NE(cruzada, inicial);

    Ejecutar_Central("INSERT INTO Zonas_Horarias_Sucursales VALUES (3, 'America/Tijuana')");
    const std::string con_ajuste = Huella();
    EXPECT_NE(con_ajuste, cruzada);
    Ejecutar_Central("UPDATE Zonas_Horarias_Sucursales SET Zona_Horaria = 'America/Cancun'");
    EXPECT_NE(Huella(), con_ajuste);
    Ejecutar_Central("DELETE FROM Zonas_Horarias_Sucursales");
    EXPECT_EQ(Huella(), cruzada);
    const Tabla_Ausente sin_tabla("Zonas_Horarias_Sucursales");
    EXPECT_EQ(Huella(), cruzada);
}

// A reload logs one line per branch whose profile or zone changed; without an edit, nothing.
TEST_F(Cambios_Perfiles, Se_Recarga_Solo_Lo_Editado_Y_El_Log_Lo_Dice_Una_Vez) {
    Sembrar_Sucursal(3, "Centro");
    Sembrar_Sucursal(4, "Norte");
    Sembrar_Sucursal(5, "Sur");
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET CP_Domicilio_Expedicion = '31000' "
        "WHERE ID_Sucursal = 4");  // Chihuahua, where Ojinaga's zone is lawful
    Cargar_Datos();
    Anotar_Zonas_Sucursales();  // as start-up does
    const std::string al_arrancar = Leer_Log();
    EXPECT_FALSE(Tomar());
    EXPECT_EQ(Leer_Log(), al_arrancar);

    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET RFC_Emisor = 'ALT150312AB2', "
        "Folio_Inicial_Facturas = 7 WHERE ID_Sucursal = 3");
    Ejecutar_Central("INSERT INTO Zonas_Horarias_Sucursales VALUES (4, 'America/Ojinaga')");
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET Folio_Inicial_Facturas = 9 "
        "WHERE ID_Sucursal = 5");
    EXPECT_TRUE(Tomar());
    EXPECT_EQ(Obtener_Datos_Emision(3).RFC_Emisor, "ALT150312AB2");
    EXPECT_EQ(Zona_de_Sucursal(4).Zona, "America/Ojinaga");
    const std::string log = Leer_Log().substr(al_arrancar.size());
    EXPECT_TRUE(Una_Vez(log, "Se tomó el perfil nuevo de la sucursal 3 (Centro).\r\n"));
    EXPECT_TRUE(
        Una_Vez(log,
                "Se tomó el perfil nuevo de la sucursal 4 (Norte). Sucursal 4 (Norte): "
                "zona horaria America/Ojinaga por Zonas_Horarias_Sucursales; el catálogo "));
    EXPECT_TRUE(Una_Vez(log, "zona horaria"));
    EXPECT_EQ(Veces(log, "ucursal 5"), 0);
    EXPECT_FALSE(Tomar());
    EXPECT_EQ(Leer_Log(), al_arrancar + log);

    Ejecutar_Central("DELETE FROM Configuracion_Facturas_Electronicas WHERE ID_Sucursal = 5");
    EXPECT_TRUE(Tomar());
    EXPECT_TRUE(Una_Vez(Leer_Log(), "sucursal 5 (Sur): ya no tiene perfil de emisión."));
}

}  // namespace
}  // namespace facturador::pruebas

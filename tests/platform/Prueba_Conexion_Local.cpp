#include <gtest/gtest.h>

#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"

namespace facturador {
namespace {

// The program folder with the two local database files the installer leaves.
class Conexion_Local : public ::testing::Test {
  protected:
    void SetUp() override { entorno.Crear_Bases_Locales(); }
    std::string Cadena(const std::string& archivo) {
        return "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" +
               Unir_Ruta(entorno.Carpeta(), archivo) +
               " ;Jet OLEDB:Database Password= Qx7Lm2Vb9TpWc4Hd";
    }

    pruebas::Entorno_Pruebas entorno;
    Conexion c;
};

TEST_F(Conexion_Local, Abre_Solo_El_Archivo_Nombrado_Que_Existe) {
    c.Abrir(Cadena("local.dll"));
    EXPECT_EQ(c.Ejecutar("SELECT * FROM Configuracion").Texto("BD_MySQL"), "Morvane_Central");

    Conexion otra;
    EXPECT_THROW(otra.Abrir(Cadena("no_existe.dll")), Error_Plataforma);
    EXPECT_FALSE(otra.Abierta());
    EXPECT_FALSE(Existe_Archivo(Unir_Ruta(entorno.Carpeta(), "no_existe.dll")));
}

TEST_F(Conexion_Local, Null_Y_Vacio_Comillas_Y_Bytes_Se_Guardan_Como_Se_Escribieron) {
    c.Abrir(Cadena("Taldo.dll"));
    const std::string texto = "O'Brien \\ \"x\" ''";
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    c.Ejecutar(
        "INSERT INTO Sincronizaciones (ID_Movimiento, Hora, Resultado) VALUES (1, "
        "'10:15:40', NULL), (2, '', ''), (3, '', '" +
        c.Escapar(texto) + "')");
    c.Ejecutar_Con_Parametros(
        "INSERT INTO Sincronizaciones (ID_Movimiento, Resultado) VALUES (4, ?)", {bytes});
    c.Iniciar_Transaccion();
    c.Ejecutar("DELETE FROM Sincronizaciones");
    c.Deshacer_Transaccion();

    Recordset rs =
        c.Ejecutar("SELECT Hora, Resultado FROM Sincronizaciones ORDER BY ID_Movimiento");
    ASSERT_EQ(rs.Cantidad_Filas(), 4u);
    EXPECT_EQ(rs.Campo("Resultado"), std::nullopt);
    EXPECT_EQ(rs.Texto("Hora"), "10:15:40");
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Campo("Resultado"), std::optional<std::string>(""));
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Texto("Resultado"), texto);
    rs.Mover_Siguiente();
    EXPECT_TRUE(rs.Texto("Resultado") == bytes);
}

}  // namespace
}  // namespace facturador

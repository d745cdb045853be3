#include <gtest/gtest.h>

#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"

namespace facturador {
namespace {

std::string Cadena_Jet(const std::string& archivo) {
    return "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" + archivo +
           " ;Jet OLEDB:Database Password= Qx7Lm2Vb9TpWc4Hd";
}

TEST(Conexion_Local, Abre_El_Archivo_Nombrado_Con_Blancos_Alrededor) {
    pruebas::Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    Conexion c;
    c.Abrir(Cadena_Jet(Unir_Ruta(entorno.Carpeta(), "local.dll")));
    ASSERT_TRUE(c.Abierta());
    Recordset rs = c.Ejecutar("SELECT * FROM Configuracion");
    ASSERT_FALSE(rs.Fin());
    EXPECT_EQ(rs.Texto("BD_MySQL"), "Morvane_Central");
    EXPECT_EQ(rs.Texto("ip_servidor"), "localhost");
}

TEST(Conexion_Local, Un_Archivo_Que_No_Existe_No_Se_Crea) {
    pruebas::Entorno_Pruebas entorno;
    const std::string archivo = Unir_Ruta(entorno.Carpeta(), "local.dll");
    Conexion c;
    EXPECT_THROW(c.Abrir(Cadena_Jet(archivo)), Error_Plataforma);
    EXPECT_FALSE(c.Abierta());
    EXPECT_FALSE(Existe_Archivo(archivo));
}

TEST(Conexion_Local, Lee_Null_Y_Texto_Vacio_Por_Separado) {
    pruebas::Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    Conexion c;
    c.Abrir(Cadena_Jet(Unir_Ruta(entorno.Carpeta(), "Taldo.dll")));
    c.Ejecutar(
        "INSERT INTO Sincronizaciones (ID_Movimiento, Fecha, Hora, Resultado, Exitosa) "
        "VALUES (1, '2026-12-05', '10:15:40', NULL, True), (2, '', '', '', 0)");
    Recordset rs = c.Ejecutar(
        "SELECT * FROM Sincronizaciones WHERE (Exitosa = True) ORDER BY ID_Movimiento DESC");
    ASSERT_FALSE(rs.Fin());
    EXPECT_EQ(rs.Campo("Resultado"), std::nullopt);
    EXPECT_EQ(rs.Texto("Hora"), "10:15:40");
    rs = c.Ejecutar("SELECT Resultado FROM Sincronizaciones WHERE ID_Movimiento = 2");
    EXPECT_EQ(rs.Campo(size_t{0}), std::optional<std::string>(""));
}

TEST(Conexion_Local, Escapa_Comillas_Guarda_Bytes_Y_Deshace_Transacciones) {
    pruebas::Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    Conexion c;
    c.Abrir(Cadena_Jet(Unir_Ruta(entorno.Carpeta(), "Taldo.dll")));
    const std::string texto = "O'Brien \\ \"x\" ''";
    EXPECT_EQ(c.Escapar("Sin comillas \\ \""), "Sin comillas \\ \"");
    c.Ejecutar("INSERT INTO Sincronizaciones (ID_Movimiento, Resultado) VALUES (1, '" +
               c.Escapar(texto) + "')");
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    c.Ejecutar_Con_Parametros(
        "INSERT INTO Sincronizaciones (ID_Movimiento, Resultado) VALUES (2, ?)", {bytes});
    c.Iniciar_Transaccion();
    c.Ejecutar("DELETE FROM Sincronizaciones");
    c.Deshacer_Transaccion();
    Recordset rs = c.Ejecutar("SELECT Resultado FROM Sincronizaciones ORDER BY ID_Movimiento");
    ASSERT_EQ(rs.Cantidad_Filas(), 2u);
    EXPECT_EQ(rs.Texto("Resultado"), texto);
    rs.Mover_Siguiente();
    EXPECT_TRUE(rs.Texto("Resultado") == bytes);
}

}  // namespace
}  // namespace facturador

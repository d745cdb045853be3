#include <gtest/gtest.h>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "data/Conexiones.h"
#include "data/Configuracion.h"
#include "data/Ruta_BD.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"

namespace facturador {
namespace {

class Guardar_Parametros_Test : public testing::Test {
  protected:
    void SetUp() override {
        entorno.Crear_Bases_Locales();
        pruebas::Ejecutar_SQLite(Archivo_Local(),
                                 "INSERT INTO Configuracion VALUES ('', '', '', 'Vieja', 'viejo')");
        Reiniciar_Configuracion();
    }

    std::string Archivo_Local() const { return Unir_Ruta(entorno.Carpeta(), "local.dll"); }

    // "BD_MySQL|IP_Servidor" of every row of the local table, in row order.
    std::vector<std::string> Filas_Locales() const {
        Conexion conexion;
        conexion.Abrir(Cadena_Conexion_Local());
        Recordset rs = conexion.Ejecutar("SELECT BD_MySQL, IP_Servidor FROM Configuracion");
        std::vector<std::string> filas;
        for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
            filas.push_back(rs.Texto("BD_MySQL") + "|" + rs.Texto("IP_Servidor"));
        return filas;
    }

    pruebas::Entorno_Pruebas entorno;
    const Configuracion_Programa& cfg = Configuracion();
};

TEST_F(Guardar_Parametros_Test, QuitaBlancosActualizaTodasLasFilasYGuardaComillasTalCual) {
    ASSERT_TRUE(Guardar_Parametros("  localhost ", " Morvane_Central  "));
    EXPECT_EQ(Filas_Locales(),
              (std::vector<std::string>{"Morvane_Central|localhost", "Morvane_Central|localhost"}));
    EXPECT_EQ(cfg.Servidor_Central + " " + cfg.Base_Central, "localhost Morvane_Central");
    EXPECT_EQ(cfg.Cadena_Conexion_Central, pruebas::Cadena_Central_Pruebas());

    Actualizar_Configuracion_Local("serv'idor", "O'Brien");
    EXPECT_EQ(Filas_Locales(),
              (std::vector<std::string>{"O'Brien|serv'idor", "O'Brien|serv'idor"}));
}

// A connection that fails leaves the local table and the settings as they were; the string tried
// stays. Without the local database the save fails after a good connection.
TEST_F(Guardar_Parametros_Test, UnaFallaNoTocaLaTablaLocal) {
    const auto antes = Filas_Locales();
    Configuracion().Cadena_Conexion_Central = "anterior";
    Configuracion().Servidor_Central = "anterior";
    EXPECT_FALSE(Guardar_Parametros("localhost", "Base_Que_No_Existe"));
    EXPECT_EQ(Filas_Locales(), antes);
    EXPECT_EQ(cfg.Cadena_Conexion_Central, "");
    EXPECT_EQ(cfg.Servidor_Central, "anterior");

    Borrar_Archivo_Ignorando_Errores(Archivo_Local());
    EXPECT_FALSE(Guardar_Parametros("localhost", "Morvane_Central"));
    EXPECT_EQ(cfg.Cadena_Conexion_Central, pruebas::Cadena_Central_Pruebas());
    EXPECT_EQ(cfg.Servidor_Central, "anterior");
    EXPECT_FALSE(Existe_Archivo(Archivo_Local()));
}

}  // namespace
}  // namespace facturador

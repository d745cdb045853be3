#include <gtest/gtest.h>

#include "apoyo/Bd_Central.h"
#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"
#include "platform/Pool_Central.h"

namespace facturador {
namespace {

using pruebas::Cadena_Central_Pruebas;

class Pool_Central : public ::testing::Test {
  protected:
    void SetUp() override {
        pruebas::Vaciar_Base_Central();
        pruebas::Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (1, 'Centro')");
        Vaciar_Pool_Central();
        antes = Estadisticas_Pool();
    }

    long Nuevas() const {
        return Estadisticas_Pool().Conexiones_Fisicas - antes.Conexiones_Fisicas;
    }

    Estadisticas_Pool_Central antes;
};

TEST_F(Pool_Central, Reabrir_No_Crea_Conexiones_Fisicas_Y_La_Sesion_Empieza_Limpia) {
    const std::string conexiones_servidor = "SHOW GLOBAL STATUS LIKE 'Connections'";
    const std::string al_principio = pruebas::Consultar_Central(conexiones_servidor).Texto(1);
    for (int i = 0; i < 50; ++i) {
        Conexion c;
        c.Abrir(Cadena_Central_Pruebas());
        EXPECT_EQ(c.Ejecutar("SELECT Nombre FROM Sucursales").Texto("Nombre"), "Centro");
    }
    EXPECT_EQ(pruebas::Consultar_Central(conexiones_servidor).Texto(1), al_principio);
    EXPECT_EQ(Nuevas(), 1);

    // A reused connection starts with a clean session.
    Conexion c;
    c.Abrir(Cadena_Central_Pruebas());
    c.Ejecutar("SET @x = 1");
    c.Ejecutar("SET NAMES latin1");
    c.Iniciar_Transaccion();
    c.Ejecutar("UPDATE Sucursales SET Nombre = 'sin confirmar' WHERE ID = 1");
    c.Cerrar();

    c.Abrir(Cadena_Central_Pruebas());
    EXPECT_EQ(Nuevas(), 1);
    Recordset rs = c.Ejecutar(
        "SELECT @x, @@autocommit, @@character_set_client, @@character_set_results, Nombre "
        "FROM Sucursales");
    EXPECT_EQ(rs.Campo(size_t{0}), std::nullopt);
    EXPECT_EQ(rs.Texto(1), "1");
    EXPECT_EQ(rs.Texto(2), "utf8mb4");
    EXPECT_EQ(rs.Texto(3), "utf8mb4");
    EXPECT_EQ(rs.Texto("Nombre"), "Centro");
}

TEST_F(Pool_Central, Cerrar_Suelta_Los_Bloqueos_De_Una_Transaccion_Abierta) {
    Conexion bloqueadora, otra;
    bloqueadora.Abrir(Cadena_Central_Pruebas());
    otra.Abrir(Cadena_Central_Pruebas());
    otra.Ejecutar("SET SESSION innodb_lock_wait_timeout = 1");
    bloqueadora.Ejecutar("SET autocommit = 0");
    bloqueadora.Ejecutar("UPDATE Sucursales SET Nombre = 'bloqueada' WHERE ID = 1");
    bloqueadora.Cerrar();
    EXPECT_NO_THROW(otra.Ejecutar("UPDATE Sucursales SET Nombre = 'libre' WHERE ID = 1"));
}

TEST_F(Pool_Central, Tras_Reiniciar_El_Servidor_La_Conexion_Muerta_Se_Reemplaza) {
    Conexion inactiva, en_uso;
    inactiva.Abrir(Cadena_Central_Pruebas());
    en_uso.Abrir(Cadena_Central_Pruebas());
    inactiva.Cerrar();
    pruebas::Reiniciar_Servidor_Central();
    // The connection in use fails; the idle one is replaced by a new one that works.
    EXPECT_THROW(en_uso.Ejecutar("SELECT 1"), Error_Plataforma);
    en_uso.Cerrar();
    Conexion c;
    c.Abrir(Cadena_Central_Pruebas());
    EXPECT_EQ(c.Ejecutar("SELECT Nombre FROM Sucursales").Texto("Nombre"), "Centro");
    EXPECT_GE(Estadisticas_Pool().Descartadas - antes.Descartadas, 1);
}

}  // namespace
}  // namespace facturador

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
    long Reusadas() const { return Estadisticas_Pool().Reutilizaciones - antes.Reutilizaciones; }

    Estadisticas_Pool_Central antes;
};

TEST_F(Pool_Central, Muchas_Aperturas_Usan_Una_Sola_Conexion_Fisica) {
    const std::string conexiones_servidor = "SHOW GLOBAL STATUS LIKE 'Connections'";
    const std::string al_principio = pruebas::Consultar_Central(conexiones_servidor).Texto(1);
    for (int i = 0; i < 50; ++i) {
        Conexion c;
        c.Abrir(Cadena_Central_Pruebas());
        EXPECT_EQ(c.Ejecutar("SELECT Nombre FROM Sucursales").Texto("Nombre"), "Centro");
        c.Cerrar();
    }
    EXPECT_EQ(pruebas::Consultar_Central(conexiones_servidor).Texto(1), al_principio);
    EXPECT_EQ(Nuevas(), 1);
    EXPECT_EQ(Reusadas(), 51);
    EXPECT_EQ(Estadisticas_Pool().Inactivas, 1u);
}

TEST_F(Pool_Central, La_Sesion_Anterior_No_Sobrevive_A_Cerrar) {
    Conexion c;
    c.Abrir(Cadena_Central_Pruebas());
    c.Ejecutar("SET @x = 1");
    c.Ejecutar("SET NAMES latin1");
    c.Iniciar_Transaccion();
    c.Ejecutar("UPDATE Sucursales SET Nombre = 'sin confirmar' WHERE ID = 1");
    c.Cerrar();

    c.Abrir(Cadena_Central_Pruebas());
    EXPECT_EQ(Reusadas(), 1);
    Recordset rs = c.Ejecutar(
        "SELECT @x, @@autocommit, @@character_set_client, @@character_set_results, Nombre "
        "FROM Sucursales");
    EXPECT_EQ(rs.Campo(size_t{0}), std::nullopt);
    EXPECT_EQ(rs.Texto(1), "1");
    EXPECT_EQ(rs.Texto(2), "utf8mb4");
    EXPECT_EQ(rs.Texto(3), "utf8mb4");
    EXPECT_EQ(rs.Texto("Nombre"), "Centro");
    // Text still travels as utf8mb4 in both directions.
    c.Ejecutar("UPDATE Sucursales SET Nombre = '" + c.Escapar("Ñuñoa € 'x'") + "'");
    rs = c.Ejecutar("SELECT Nombre, HEX(Nombre) FROM Sucursales");
    EXPECT_EQ(rs.Texto(size_t{0}), "Ñuñoa € 'x'");
    EXPECT_EQ(rs.Texto(1), "C39175C3B16F6120E282AC20277827");
}

TEST_F(Pool_Central, Cerrar_Suelta_Los_Bloqueos_De_Una_Transaccion_Abierta) {
    Conexion bloqueadora, otra;
    bloqueadora.Abrir(Cadena_Central_Pruebas());
    otra.Abrir(Cadena_Central_Pruebas());
    otra.Ejecutar("SET SESSION innodb_lock_wait_timeout = 1");
    bloqueadora.Ejecutar("SET autocommit = 0");
    bloqueadora.Ejecutar("UPDATE Sucursales SET Nombre = 'bloqueada' WHERE ID = 1");
    bloqueadora.Cerrar();
    EXPECT_EQ(Estadisticas_Pool().Inactivas, 1u);
    EXPECT_NO_THROW(otra.Ejecutar("UPDATE Sucursales SET Nombre = 'libre' WHERE ID = 1"));
    EXPECT_EQ(otra.Ejecutar("SELECT Nombre FROM Sucursales").Texto("Nombre"), "libre");
}

TEST_F(Pool_Central, Guarda_Pocas_Conexiones_Inactivas) {
    std::vector<Conexion> abiertas(6);
    for (Conexion& c : abiertas)
        c.Abrir(Cadena_Central_Pruebas());
    abiertas.clear();
    EXPECT_EQ(Nuevas(), 6);
    EXPECT_EQ(Estadisticas_Pool().Inactivas, 4u);
    Vaciar_Pool_Central();
    EXPECT_EQ(Estadisticas_Pool().Inactivas, 0u);
}

TEST_F(Pool_Central, Tras_Reiniciar_El_Servidor_Se_Reemplaza_La_Conexion_Muerta) {
    Conexion c;
    c.Abrir(Cadena_Central_Pruebas());
    c.Cerrar();
    pruebas::Reiniciar_Servidor_Central();
    c.Abrir(Cadena_Central_Pruebas());
    EXPECT_EQ(c.Ejecutar("SELECT Nombre FROM Sucursales").Texto("Nombre"), "Centro");
    EXPECT_EQ(Nuevas(), 2);
    EXPECT_EQ(Estadisticas_Pool().Descartadas - antes.Descartadas, 1);
}

TEST_F(Pool_Central, Una_Conexion_En_Uso_Cuando_Cae_El_Servidor_Falla_Y_La_Siguiente_Funciona) {
    Conexion c;
    c.Abrir(Cadena_Central_Pruebas());
    c.Iniciar_Transaccion();
    pruebas::Reiniciar_Servidor_Central();
    EXPECT_THROW(c.Ejecutar("SELECT 1"), Error_Plataforma);
    c.Cerrar();
    c.Abrir(Cadena_Central_Pruebas());
    EXPECT_EQ(c.Ejecutar("SELECT 1").Texto(size_t{0}), "1");
}

}  // namespace
}  // namespace facturador

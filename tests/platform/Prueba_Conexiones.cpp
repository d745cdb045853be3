// Connections to the central server and to the local database files, and the central pool.

#include <gtest/gtest.h>

#include <random>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"
#include "platform/Pool_Central.h"

namespace facturador {
namespace {

using namespace std::string_literals;
using pruebas::Cadena_Central_Pruebas;

class Conexion_Central : public ::testing::Test {
  protected:
    void SetUp() override {
        pruebas::Vaciar_Base_Central();
        c.Abrir(Cadena_Central_Pruebas());
    }

    Conexion c;
};

// Null, empty and an escaped value read back as written; the escaping without a connection is
// the server's own, and leaves an ordinary value as plain concatenation would.
TEST_F(Conexion_Central, ValuesReadBackAsWrittenAndTheEscapingIsTheServers) {
    const std::string valor = "O'Brien \"el\" C:\\ruta\\ ñ€\n\r\x1A fin\0z"s;
    c.Ejecutar("INSERT INTO Sucursales (ID, Nombre) VALUES (1, NULL), (2, ''), (3, '" +
               Escapar_Central(valor) + "')");
    Recordset rs = c.Ejecutar("SELECT ID, Nombre FROM Sucursales ORDER BY ID");
    EXPECT_EQ(rs.Campo("nombre"), std::nullopt);
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Campo("NOMBRE"), std::optional<std::string>(""));
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Campo("Nombre"), valor);

    const std::string ordinario = "Sucursal Ñuñoa #3, (Centro) 50% - A/B";
    EXPECT_EQ(Escapar_Central(ordinario), ordinario);
    std::mt19937 azar(20240731);
    const std::string especiales = "\0\n\r\\'\"\x1A"s;
    for (int vuelta = 0; vuelta < 2000; ++vuelta) {
        std::string v;
        for (int i = 0; i < 12; ++i) {
            const int b = static_cast<int>(azar() % 256);
            v += b < 64 ? especiales[b % especiales.size()] : static_cast<char>(b);
        }
        ASSERT_EQ(Escapar_Central(v), c.Escapar(v)) << ::testing::PrintToString(v);
    }
}

// A failure carries the server's number and text and leaves the connection usable; a missing
// parameter is a failure. (Documents travel byte for byte: the intake's store reads them back.)
TEST_F(Conexion_Central, ErrorsCarryTheServersNumberAndDocumentsTravelIntact) {
    try {
        c.Ejecutar("SELECT * FROM Tabla_Que_No_Existe");
        ADD_FAILURE() << "no error";
    } catch (const Error_Plataforma& e) {
        EXPECT_EQ(e.Numero, 1146);
        EXPECT_NE(e.Descripcion.find("Tabla_Que_No_Existe"), std::string::npos) << e.Descripcion;
    }
    EXPECT_EQ(c.Ejecutar("SELECT 7").Texto(size_t{0}), "7");
    EXPECT_THROW(c.Ejecutar_Con_Parametros("UPDATE Comprobantes_Fiscales SET Documento = ?", {}),
                 Error_Plataforma);
}

// The Jet string opens the named SQLite file, only when it exists; texts, Null and bytes are kept
// and a rolled back change is gone.
TEST(Conexion_Local, OpensOnlyTheNamedFileAndKeepsWhatIsWritten) {
    pruebas::Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    const auto cadena = [&](const char* archivo) {
        return "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" +
               Unir_Ruta(entorno.Carpeta(), archivo) +
               " ;Jet OLEDB:Database Password= Qx7Lm2Vb9TpWc4Hd";
    };
    Conexion otra;
    EXPECT_THROW(otra.Abrir(cadena("no_existe.dll")), Error_Plataforma);
    EXPECT_FALSE(Existe_Archivo(Unir_Ruta(entorno.Carpeta(), "no_existe.dll")));

    Conexion c;
    c.Abrir(cadena("Taldo.dll"));
    const std::string texto = "O'Brien \\ \"x\" ''";
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    c.Ejecutar("INSERT INTO Sincronizaciones (ID_Movimiento, Resultado) VALUES (1, NULL), (2, '" +
               c.Escapar(texto) + "')");
    c.Ejecutar_Con_Parametros(
        "INSERT INTO Sincronizaciones (ID_Movimiento, Resultado) VALUES (3, ?)", {bytes});
    c.Iniciar_Transaccion();
    c.Ejecutar("DELETE FROM Sincronizaciones");
    c.Deshacer_Transaccion();
    Recordset rs = c.Ejecutar("SELECT Resultado FROM Sincronizaciones ORDER BY ID_Movimiento");
    ASSERT_EQ(rs.Cantidad_Filas(), 3u);
    EXPECT_EQ(rs.Campo("Resultado"), std::nullopt);
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Texto("Resultado"), texto);
    rs.Mover_Siguiente();
    EXPECT_TRUE(rs.Texto("Resultado") == bytes);
    c.Cerrar();
    c.Abrir(cadena("local.dll"));
    EXPECT_EQ(c.Ejecutar("SELECT * FROM Configuracion").Texto("BD_MySQL"), "Morvane_Central");
}

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

// Opening again reuses one physical connection, whose session starts clean: no variables, no
// other character set, autocommit on and an unfinished transaction rolled back.
TEST_F(Pool_Central, ReopeningMakesNoNewConnectionAndTheSessionStartsClean) {
    const std::string conexiones_servidor = "SHOW GLOBAL STATUS LIKE 'Connections'";
    const std::string al_principio = pruebas::Consultar_Central(conexiones_servidor).Texto(1);
    Conexion c;
    for (int i = 0; i < 50; ++i) {
        c.Abrir(Cadena_Central_Pruebas());
        EXPECT_EQ(c.Ejecutar("SELECT Nombre FROM Sucursales").Texto("Nombre"), "Centro");
        c.Cerrar();
    }
    EXPECT_EQ(pruebas::Consultar_Central(conexiones_servidor).Texto(1), al_principio);
    c.Abrir(Cadena_Central_Pruebas());
    c.Ejecutar("SET @x = 1");
    c.Ejecutar("SET NAMES latin1");
    c.Iniciar_Transaccion();
    c.Ejecutar("UPDATE Sucursales SET Nombre = 'sin confirmar' WHERE ID = 1");
    c.Cerrar();
    c.Abrir(Cadena_Central_Pruebas());
    EXPECT_EQ(Nuevas(), 1);
    Recordset rs = c.Ejecutar(
        "SELECT CONCAT_WS('|', IFNULL(@x, 'null'), @@autocommit + 0, @@character_set_client, "
        "@@character_set_results, Nombre) FROM Sucursales");
    EXPECT_EQ(rs.Texto(size_t{0}), "null|1|utf8mb4|utf8mb4|Centro");
}

TEST_F(Pool_Central, ClosingReleasesTheLocksOfAnOpenTransaction) {
    Conexion bloqueadora, otra;
    bloqueadora.Abrir(Cadena_Central_Pruebas());
    otra.Abrir(Cadena_Central_Pruebas());
    otra.Ejecutar("SET SESSION innodb_lock_wait_timeout = 1");
    bloqueadora.Ejecutar("SET autocommit = 0");
    bloqueadora.Ejecutar("UPDATE Sucursales SET Nombre = 'bloqueada' WHERE ID = 1");
    bloqueadora.Cerrar();
    EXPECT_NO_THROW(otra.Ejecutar("UPDATE Sucursales SET Nombre = 'libre' WHERE ID = 1"));
}

// After the server restarts, the connection in use fails and the idle one is replaced.
TEST_F(Pool_Central, AfterARestartTheDeadConnectionIsReplaced) {
    Conexion inactiva, en_uso;
    inactiva.Abrir(Cadena_Central_Pruebas());
    en_uso.Abrir(Cadena_Central_Pruebas());
    inactiva.Cerrar();
    pruebas::Reiniciar_Servidor_Central();
    EXPECT_THROW(en_uso.Ejecutar("SELECT 1"), Error_Plataforma);
    en_uso.Cerrar();
    Conexion c;
    c.Abrir(Cadena_Central_Pruebas());
    EXPECT_EQ(c.Ejecutar("SELECT Nombre FROM Sucursales").Texto("Nombre"), "Centro");
    EXPECT_GE(Estadisticas_Pool().Descartadas - antes.Descartadas, 1);
}

}  // namespace
}  // namespace facturador

// The platform: connection strings, record sets, text, dates, the central and local connections,
// the central pool and the termination signal.

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <thread>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"
#include "platform/Cadena_Conexion.h"
#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"
#include "platform/Fecha_Hora.h"
#include "platform/Pool_Central.h"
#include "platform/Recordset.h"
#include "platform/Senal_Terminacion.h"
#include "platform/Texto.h"

namespace facturador {
namespace {

using namespace std::string_literals;

std::string Cadena_Central(const std::string& puerto) {
    return "Provider=MSDASQL.1;Password=;Persist Security Info=True;User ID=;Extended "
           "Properties=\"DRIVER={MySQL ODBC 3.51 Driver};DESC=;DATABASE=Morvane_Central;"
           "SERVER=localhost;UID=usuarios;PASSWORD=m58kbwTavRz07;PORT=" +
           puerto + ";OPTION=16387;STMT=;\"";
}

// A SIGTERM ends the service's wait between cycles at once, also when another thread takes it (the
// wait is not interrupted then), and one that came before ends the next wait before it starts.
// (The signal comes 100 ms into the wait; sent earlier it would be found first, all the same.)
TEST(Senal_Terminacion, ASignalEndsTheWaitAtOnce) {
    Senal_Terminacion senal;
    EXPECT_FALSE(senal.Esperar(std::chrono::milliseconds(0)));
    std::thread remitente([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::raise(SIGTERM);  // to this thread
    });
    EXPECT_TRUE(senal.Esperar(std::chrono::hours(1)));
    remitente.join();
    EXPECT_TRUE(senal.Esperar(std::chrono::hours(1)));
}

// Keys in any case, an empty port the driver's default (0); the local file without its blanks.
TEST(Cadena_Conexion, CentralAndLocalStringsGiveTheirParameters) {
    EXPECT_EQ(
        Leer_Cadena_Central(Cadena_Central("")),
        (Parametros_Central{"Morvane_Central", "localhost", "usuarios", "m58kbwTavRz07", 0, ""}));
    EXPECT_EQ(Leer_Cadena_Central(Cadena_Central("3306")).Puerto, 3306u);
    EXPECT_EQ(
        Leer_Cadena_Central("provider=msdasql.1;extended properties=\"driver={MySQL ODBC 3.51 "
                            "Driver};Database=Base;Server=servidor;Uid=u;Password=p;Port=3307\""),
        (Parametros_Central{"Base", "servidor", "u", "p", 3307, ""}));
    for (const char* puerto : {"33o6", "-1", "70000"})
        EXPECT_THROW(Leer_Cadena_Central(Cadena_Central(puerto)), Error_Plataforma) << puerto;
    EXPECT_THROW(Leer_Cadena_Central("Provider=SQLOLEDB.1;Data Source=s;Initial Catalog=B"),
                 Error_Plataforma);

    EXPECT_FALSE(Es_Cadena_Local(Cadena_Central("")));
    const std::string local =
        "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/a b/local.dll ;Jet "
        "OLEDB:Database Password= Qx7Lm2Vb9TpWc4Hd";
    EXPECT_TRUE(Es_Cadena_Local(local));
    EXPECT_EQ(Leer_Origen_Local(local), "/a b/local.dll");
    EXPECT_THROW(Leer_Origen_Local("Provider=Microsoft.Jet.OLEDB.4.0;"), Error_Plataforma);
}

TEST(Recordset, WalksItsRowsAndFailsOutsideThemOrOnAnUnknownColumn) {
    Recordset rs({"ID", "Nombre"}, {{"1", std::nullopt}, {"2", "Dos"}});
    EXPECT_EQ(rs.Texto("id") + "|" + rs.Texto("NOMBRE"), "1|");  // Null reads as empty text
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Texto(size_t{1}), "Dos");
    EXPECT_THROW(rs.Campo("Otra"), Error_Plataforma);
    rs.Mover_Siguiente();
    EXPECT_TRUE(rs.Fin());
    EXPECT_THROW(rs.Campo("ID"), Error_Plataforma);
    EXPECT_THROW(rs.Mover_Siguiente(), Error_Plataforma);
    rs.Mover_Primero();
    EXPECT_EQ(rs.Texto("ID"), "1");
}

// Every byte goes to UTF-8 and back; what Windows-1252 lacks becomes "?"; bytes that are not
// UTF-8 are read as Windows-1252.
TEST(Texto, Windows1252GoesAndComesBackAndWhatItLacksIsAQuestionMark) {
    std::string todos;
    for (int b = 0; b < 256; ++b)
        todos += static_cast<char>(b);
    EXPECT_EQ(A_Windows_1252(Desde_Windows_1252(todos)), todos);
    EXPECT_EQ(A_Windows_1252("Año €Ÿ"), "A\xF1o \x80\x9F");
    EXPECT_EQ(A_Windows_1252("日😀b"), "??b");
    EXPECT_EQ(A_Windows_1252("a\xF1o"), "a?o");
    for (const char* malo : {"\xC3", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "a\xE2\x82"})
        EXPECT_FALSE(Es_UTF8_Valido(malo)) << malo;
    EXPECT_TRUE(Es_UTF8_Valido("Año € 😀 \xF4\x8F\xBF\xBF"));
    // UTF-16 either way round: a surrogate pair is one character beyond the first plane; half a
    // pair, or an odd byte, is no text.
    EXPECT_EQ(Desde_UTF16("\0A\xD8\x3D\xDE\x00\xDB\xFF\xDF\xFF"s, true), "A😀\xF4\x8F\xBF\xBF");
    EXPECT_EQ(Desde_UTF16("A\0\x3D\xD8\x00\xDE\xE9\0"s, false), "A😀é");
    for (const std::string& malo :
         {"\xD8\x3D\0A"s, "\xDE\x00"s, "\xD8\x3D"s, "\xDB\xFF\xE0\x00"s, "\0A\0"s})
        EXPECT_FALSE(Desde_UTF16(malo, true)) << malo;
    EXPECT_EQ(Texto_Leido("A\xF1o \x80") + Texto_Leido("Año €"), "Año €Año €");
    EXPECT_EQ(Recortar("  a b  ") + Recortar("   "), "a b");
}

TEST(Fecha_Hora, ReadsTheDriversAndTheProgramsFormsOnlyAndCountsAcrossLeapDays) {
    EXPECT_EQ(Leer_Fecha_Hora("2024-07-31 23:59:58"), (Fecha_Hora{2024, 7, 31, 23, 59, 58}));
    EXPECT_EQ(Leer_Fecha_Hora("2024/07/31"), (Fecha_Hora{2024, 7, 31, 0, 0, 0}));
    EXPECT_EQ(Leer_Fecha_Hora(" 31/07/2024 08:01 "), (Fecha_Hora{2024, 7, 31, 8, 1, 0}));
    EXPECT_EQ(Leer_Fecha_Hora("2024-07-31 10:00:00.250"), (Fecha_Hora{2024, 7, 31, 10, 0, 0}));
    EXPECT_EQ(Leer_Fecha_Hora("8:01"), (Fecha_Hora{1899, 12, 30, 8, 1, 0}));
    for (const char* texto : {"", "hoy", "31/07", "2024-02-30", "29/02/2023", "31/13/2024", "24:00",
                              "10:60", "2024/07-31", "31/07/2024 10/30", "12345/01/01"})
        EXPECT_EQ(Leer_Fecha_Hora(texto), std::nullopt) << '"' << texto << '"';
    // Arithmetic crosses days, months, years and leap days.
    EXPECT_EQ(Sumar_Segundos({2026, 12, 31, 23, 59, 55}, 10), (Fecha_Hora{2027, 1, 1, 0, 0, 5}));
    EXPECT_EQ(Sumar_Segundos({2024, 3, 1, 0, 0, 5}, -10), (Fecha_Hora{2024, 2, 29, 23, 59, 55}));
    EXPECT_EQ(Sumar_Dias({2024, 2, 28, 8, 1, 0}, 2), (Fecha_Hora{2024, 3, 1, 8, 1, 0}));
    EXPECT_EQ(Dias_Entre({2024, 2, 28, 23, 0, 0}, {2024, 3, 1, 1, 0, 0}), 2);
    EXPECT_EQ(Dias_Entre({2024, 3, 1, 0, 0, 0}, {2024, 2, 28, 0, 0, 0}), -2);
    EXPECT_EQ(Solo_Fecha({2024, 2, 29, 8, 1, 7}), (Fecha_Hora{2024, 2, 29, 0, 0, 0}));
}

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

// The server's default sql_mode for new sessions, changed by its administrator for one test.
struct Modo_Global {
    explicit Modo_Global(const std::string& modos)
        : anterior(pruebas::Como_Administrador("SELECT @@GLOBAL.sql_mode")) {
        pruebas::Como_Administrador("SET GLOBAL sql_mode = '" + modos + "'");
    }
    ~Modo_Global() { pruebas::Como_Administrador("SET GLOBAL sql_mode = '" + anterior + "'"); }
    const std::string anterior;
};

// Whatever sql_mode the server gives new sessions, a quote in an escaped value never ends its
// text: a connection made then, and one the pool hands out again, both leave NO_BACKSLASH_ESCAPES.
TEST_F(Conexion_Central, TheEscapingHoldsInAnySqlMode) {
    c.Cerrar();  // back to the pool, to be handed out again under the new mode
    const Modo_Global modo("NO_BACKSLASH_ESCAPES,STRICT_TRANS_TABLES");
    const std::string valor = "O\\' OR '1'='1' -- ";
    Conexion reutilizada, nueva;
    const auto antes = Estadisticas_Pool();
    reutilizada.Abrir(Cadena_Central_Pruebas());
    Vaciar_Pool_Central();
    nueva.Abrir(Cadena_Central_Pruebas());
    EXPECT_EQ(Estadisticas_Pool().Reutilizaciones, antes.Reutilizaciones + 1);
    EXPECT_EQ(Estadisticas_Pool().Conexiones_Fisicas, antes.Conexiones_Fisicas + 1);
    for (Conexion* conexion : {&reutilizada, &nueva}) {
        conexion->Ejecutar("INSERT INTO Sucursales (ID, Nombre) VALUES (" +
                           std::to_string(conexion == &nueva) + ", '" + Escapar_Central(valor) +
                           "')");
        EXPECT_EQ(conexion->Ejecutar("SELECT @@SESSION.sql_mode").Texto(size_t{0}),
                  "STRICT_TRANS_TABLES");
    }
    EXPECT_EQ(pruebas::Valor_Central("SELECT GROUP_CONCAT(Nombre) FROM Sucursales"),
              valor + "," + valor);
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
        EXPECT_FALSE(Respuesta_Perdida(e));
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

// After the server restarts, the connection in use fails and the idle ones are replaced: the
// first that fails its reset takes the others with it untried, since a server that does not
// answer one would make each of them wait out the statement limit in turn.
TEST_F(Pool_Central, AfterARestartTheDeadConnectionIsReplaced) {
    Conexion inactiva, otra_inactiva, en_uso;
    inactiva.Abrir(Cadena_Central_Pruebas());
    otra_inactiva.Abrir(Cadena_Central_Pruebas());
    en_uso.Abrir(Cadena_Central_Pruebas());
    inactiva.Cerrar();
    otra_inactiva.Cerrar();
    pruebas::Reiniciar_Servidor_Central();
    try {
        en_uso.Ejecutar("SELECT 1");
        ADD_FAILURE() << "no error";
    } catch (const Error_Plataforma& e) {
        // The statement may have reached the server: its outcome is unknown.
        EXPECT_TRUE(Respuesta_Perdida(e)) << e.Numero << " " << e.Descripcion;
    }
    en_uso.Cerrar();
    Conexion c;
    c.Abrir(Cadena_Central_Pruebas());
    EXPECT_EQ(c.Ejecutar("SELECT Nombre FROM Sucursales").Texto("Nombre"), "Centro");
    EXPECT_GE(Estadisticas_Pool().Descartadas - antes.Descartadas, 2);
    EXPECT_EQ(Estadisticas_Pool().Reinicios_Fallidos - antes.Reinicios_Fallidos, 1);
}

}  // namespace
}  // namespace facturador

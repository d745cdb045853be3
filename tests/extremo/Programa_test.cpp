// The built program, started in a program folder of its own against the test server.
//
// The program allows one running copy per user on the machine, so while these tests run no other
// copy of the program may run under the same user: it would hold the lock and the first copy
// started here would end at once.

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Siembra.h"
#include "platform/Archivos.h"
#include "platform/Instancia_Unica.h"
#include "platform/Texto.h"

namespace facturador::pruebas {
namespace {

using namespace std::chrono_literals;

constexpr auto kPlazo = 20s;

// SELECT statements the server has run since it started, from every client.
long Selects_Del_Servidor() {
    Recordset rs = Consultar_Central("SHOW GLOBAL STATUS LIKE 'Com_select'");
    return std::stol(rs.Texto(size_t{1}));
}

// Each cycle reads the central database several times (pending requests, requests waiting for
// their stamp, the rejected count); start-up reads it a few times. Far more reads than start-up
// makes means the cycle timer keeps driving cycles.
constexpr long kSelects_De_Varios_Ciclos = 25;

// True once the server has run `cuantos` more reads while the program kept running.
bool Esperar_Selects(long desde, long cuantos, Proceso_Facturador& programa) {
    const auto leidos = [&] { return Selects_Del_Servidor() - desde >= cuantos; };
    return Esperar([&] { return !programa.Sigue_Corriendo() || leidos(); }, 2 * kPlazo) &&
           programa.Sigue_Corriendo() && leidos();
}

class Programa : public testing::Test {
  protected:
    void SetUp() override {
        Vaciar_Base_Central();
        entorno.Crear_Bases_Locales();
    }
    Entorno_Pruebas entorno;
};

// SIGTERM ends it cleanly too: the tests of the service's road use it.
TEST_F(Programa, Corre_Ciclos_Admite_Una_Sola_Copia_Y_Termina_Limpio_Con_SIGINT) {
    const long selects_iniciales = Selects_Del_Servidor();
    {
        Proceso_Facturador primero(entorno.Carpeta());
        ASSERT_TRUE(Esperar_Selects(selects_iniciales, kSelects_De_Varios_Ciclos, primero))
            << "the program ended or stopped reading the central database";

        // The second copy has no databases next to it: had it gone on to open them, it would be
        // waiting for the operator in the database location dialog instead of ending.
        Carpeta_Temporal otra_carpeta;
        Proceso_Facturador segundo(otra_carpeta.Ruta());
        EXPECT_TRUE(Termino_Con_Codigo_0(segundo.Esperar_Fin(kPlazo)));
        // Nothing but its executable: no database file opened, no log line written.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(otra_carpeta.Ruta()), {}), 1);
        EXPECT_TRUE(primero.Sigue_Corriendo());
        primero.Enviar(SIGINT);
        ASSERT_TRUE(Termino_Con_Codigo_0(primero.Esperar_Fin(kPlazo)));
    }
    // Once the first copy is gone the next one starts and works.
    const long antes_del_tercero = Selects_Del_Servidor();
    Proceso_Facturador tercero(entorno.Carpeta());
    EXPECT_TRUE(Esperar_Selects(antes_del_tercero, 1, tercero));
    tercero.Enviar(SIGTERM);
    EXPECT_TRUE(Termino_Con_Codigo_0(tercero.Esperar_Fin(kPlazo)));
}

// A link planted where the lock file goes: the lock cannot be taken at all, so the program must
// say why and end with a failure, not run without its guard against a second copy.
TEST_F(Programa, Sin_Candado_Posible_Lo_Dice_Y_Termina_Con_Falla) {
    const std::string runtime = Unir_Ruta(entorno.Carpeta(), "runtime");
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    std::filesystem::create_symlink("/nonexistent", Unir_Ruta(runtime, "facturador.lock"));
    const std::string salida = Unir_Ruta(entorno.Carpeta(), "salida.txt");
    const std::string anterior = getenv("XDG_RUNTIME_DIR") ? getenv("XDG_RUNTIME_DIR") : "";
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    Proceso_Facturador programa(entorno.Carpeta(), salida);
    anterior.empty() ? unsetenv("XDG_RUNTIME_DIR") : setenv("XDG_RUNTIME_DIR", anterior.c_str(), 1);
    EXPECT_EQ(Codigo_De_Salida(programa.Esperar_Fin(kPlazo)), 1);
    EXPECT_NE(Leer_Archivo(salida).find("No se pudo tomar el candado de instancia única"),
              std::string::npos);
}

TEST(Instancia_Unica, Un_Enlace_Puesto_En_Lugar_Del_Candado_No_Se_Sigue) {
    Carpeta_Temporal carpeta;
    const std::string destino = Unir_Ruta(carpeta.Ruta(), "ajeno");
    const std::string candado = Unir_Ruta(carpeta.Ruta(), "facturador.lock");
    ASSERT_EQ(symlink(destino.c_str(), candado.c_str()), 0);
    const Instancia_Unica instancia(candado);
    EXPECT_EQ(instancia.Resultado(), Instancia_Unica::Estado::Falla);
    EXPECT_NE(instancia.Falla().find(candado), std::string::npos);
    EXPECT_FALSE(Existe_Archivo(destino));
}

// The built program as a service runs it: without windows, nobody to answer a dialog, the central
// server restarted under it, a branch's folder broken; and asked how it is doing from outside.

const std::vector<std::string> kSin_Ventanas = {"--sin-ventanas"};

class Servicio : public testing::Test {
  protected:
    void SetUp() override {
        Vaciar_Base_Central();
        entorno.Crear_Bases_Locales();
    }
    std::string Salida() const { return Existe_Archivo(salida) ? Leer_Archivo(salida) : ""; }

    Entorno_Pruebas entorno;
    const std::string salida = Unir_Ruta(entorno.Carpeta(), "salida.txt");
};

// The first branch's queue folder cannot exist (a file stands where its parent should be): its
// request waits, told on standard error, while the other branch's is issued; once the folder is
// there, the next cycles issue it too.
TEST_F(Servicio, Una_Carpeta_De_Cola_Rota_No_Detiene_A_Las_Demas_Sucursales) {
    const std::string base_rota = Unir_Ruta(entorno.Carpeta(), "sucursal1");
    Escribir_Archivo(base_rota, "no es una carpeta");
    Sembrar_Sucursal(base_rota, 1, "Centro", "A", 1500, false);
    Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "sucursal2"), 2, "Norte", "B", 700);
    Sembrar_Ticket(4711, 1, "116");
    Sembrar_Ticket(4711, 2, "116");
    Sembrar_Solicitud(1, {{"ID_Sucursal", "1"}});
    Sembrar_Solicitud(2, {{"ID_Sucursal", "2"}});

    Proceso_Facturador programa(entorno.Carpeta(), salida, kSin_Ventanas);
    ASSERT_TRUE(Esperar_Status(2, "2")) << Salida();
    EXPECT_EQ(Valor_Central("SELECT Status FROM Solicitudes_de_Facturas_OL WHERE ID = 1"), "1");
    EXPECT_NE(Salida().find("Error creando archivo para timbrar: Rutas: "), std::string::npos)
        << Salida();

    std::filesystem::remove(base_rota);
    for (const char* carpeta : {"cola", "validas", "no_validas"})
        std::filesystem::create_directories(Unir_Ruta(base_rota, carpeta));
    EXPECT_TRUE(Esperar_Status(1, "2")) << Salida();
    programa.Enviar(SIGTERM);
    EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(kPlazo)));
}

// What a service manager or a monitoring plugin reads from outside. Without local settings nobody
// can give the database location: the program says so and ends with a failure at once. --estado
// ends with the plugins' statuses; a program folder that is not there is a usage error.
TEST_F(Servicio, Sale_Con_El_Codigo_Que_Leen_El_Gestor_De_Servicios_Y_Los_Plugins) {
    const auto correr = [&](const std::vector<std::string>& argumentos) {
        std::filesystem::remove(salida);
        Proceso_Hijo proceso(EJECUTABLE_FACTURADOR, argumentos, salida);
        return Codigo_De_Salida(proceso.Esperar_Fin(kPlazo));
    };
    Carpeta_Temporal vacia;
    EXPECT_EQ(correr({"--sin-ventanas", "--carpeta", vacia.Ruta()}), 1) << Salida();
    EXPECT_NE(Salida().find("Se produjo un error: Favor de seleccionar la base de datos y "
                            "reiniciar el programa.\n"),
              std::string::npos)
        << Salida();
    EXPECT_EQ(correr({"--estado", "--carpeta", vacia.Ruta()}), 3) << Salida();
    EXPECT_EQ(correr({"--estado", "--carpeta", entorno.Carpeta()}), 0) << Salida();
    // Never seen by a running program: it waits since its date, the day before.
    Sembrar_Solicitud(1, {{"Fecha", "CURRENT_DATE - INTERVAL 1 DAY"}});
    EXPECT_EQ(correr({"--estado", "--json", "--carpeta", entorno.Carpeta()}), 1) << Salida();
    EXPECT_TRUE(Salida().starts_with(R"({"estado":"advertencia","codigo":1,)")) << Salida();
    EXPECT_EQ(correr({"--estado", "--carpeta", entorno.Carpeta() + "/no_existe"}), 64);
    EXPECT_EQ(correr({"--version"}), 0);
    EXPECT_EQ(Salida(), "Facturador V. 5.3.0\n");
}

// The whole road of a request, with the built program and the simulated stamping program running
// side by side against the test server: pending, queued, stamped and stored; or refused by the
// provider and rejected with its reason.

std::string Solicitud(int id, const std::string& columnas) {
    return Valor_Central("SELECT " + columnas +
                         " FROM Solicitudes_de_Facturas_OL WHERE ID = " + std::to_string(id));
}

TEST(Camino_Completo, La_Solicitud_Timbrada_Se_Almacena_Y_La_Rechazada_Lleva_El_Motivo) {
    Vaciar_Base_Central();
    Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    const auto carpetas = Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s3"), 3, "Centro", "A", 1);
    Sembrar_Ticket(4711, 3, "116");
    Sembrar_Ticket(4712, 3, "116");
    Sembrar_Solicitud(1);
    Proceso_Facturador programa(entorno.Carpeta());
    ASSERT_TRUE(Esperar_Status(1, "2"));

    // Its folders come from the branch profile, as the program reads them.
    const std::string salida = Unir_Ruta(entorno.Carpeta(), "timbrador.txt");
    const auto timbrar = [&](const std::vector<std::string>& opciones, int id, const char* status) {
        Proceso_Hijo timbrador(EJECUTABLE_TIMBRADOR, opciones, salida);
        EXPECT_TRUE(Esperar_Status(id, status)) << Leer_Archivo(salida);
        timbrador.Enviar(SIGTERM);
        EXPECT_TRUE(Termino_Con_Codigo_0(timbrador.Esperar_Fin(kPlazo)));
    };
    timbrar({}, 1, "3");
    // A seal the provider finds broken: nothing on this side can check it.
    Sembrar_Solicitud(2, {{"Nro_Ticket", "4712"}});
    ASSERT_TRUE(Esperar_Status(2, "2"));
    timbrar({"--fallar",
             "CFDI40102 - El resultado de la digestión debe ser igual al resultado de "
             "la desencripción del sello"},
            2, "4");
    EXPECT_TRUE(std::filesystem::is_empty(carpetas.cola));
    programa.Enviar(SIGTERM);
    EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(kPlazo)));

    // The stamped request: both documents stored byte for byte, the invoice row filled from the
    // XML, the amount recorded.
    const std::string base = Unir_Ruta(carpetas.validas, "Factura A Folio 1");
    const std::string xml = Leer_Archivo(base + ".xml");
    const std::string factura = Solicitud(1, "ID_Factura");
    const auto guardado = [&](const char* tipo) {
        return Valor_Central("SELECT Documento FROM Comprobantes_Fiscales WHERE ID_Factura = " +
                             factura + " AND Descripcion = '" + tipo + "'");
    };
    EXPECT_EQ(guardado("XML"), xml);
    EXPECT_EQ(guardado("PDF"), Leer_Archivo(base + ".pdf"));
    const size_t uuid = xml.find(" UUID=\"") + 7;
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', Status, UUID, total, rfc_cliente, folio) FROM "
                            "Facturas_Electronicas WHERE ID_Factura = " +
                            factura),
              "2|" + xml.substr(uuid, 36) + "|116|RALJ900215QW1|1");
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', ID_Solicitud, Nro_Ticket, Total, Serie, Folio) "
                            "FROM Montos_Facturados"),
              "1|4711|116|A|1");

    // The refused request: the provider's first line as its reason.
    const std::string error =
        Leer_Archivo(Unir_Ruta(carpetas.no_validas, "Factura A Folio 2-error timbrado.txt"));
    EXPECT_EQ(Solicitud(2, "Resultado"),
              "Error: " + Desde_Windows_1252(error.substr(0, error.find('\r'))));
    EXPECT_TRUE(error.starts_with("CFDI40102 - El resultado de la digesti")) << error;
}

}  // namespace
}  // namespace facturador::pruebas

// The built program, started in a program folder of its own against the test server.

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Siembra.h"
#include "app/Estado_Publicado.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"
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

// Each cycle reads the central database several times (pending, waiting for their stamp,
// rejected count), start-up only a few: this many more reads means the cycle timer keeps going.
constexpr long kSelects_De_Varios_Ciclos = 25;

// True once the server has run `cuantos` more reads while the program kept running.
bool Esperar_Selects(long desde, long cuantos, Proceso_Facturador& programa) {
    const auto leidos = [&] { return Selects_Del_Servidor() - desde >= cuantos; };
    return Esperar([&] { return !programa.Sigue_Corriendo() || leidos(); }, 2 * kPlazo) &&
           programa.Sigue_Corriendo() && leidos();
}

using Programa = Prueba_Programa;

// One copy per program folder, with windows or without: a second one, even without the first
// one's runtime folder, says why and fails. SIGINT ends the first cleanly, freeing the lease at
// once (SIGTERM too, as a service manager sends it); the next copy then starts and works.
TEST_F(Programa, Corre_Ciclos_Admite_Una_Sola_Copia_Y_Termina_Limpio_Con_SIGINT) {
    for (const char* ejecutable : {EJECUTABLE_FACTURADOR, EJECUTABLE_SIN_VENTANAS}) {
        SCOPED_TRACE(ejecutable);
        const Arranque_Hijo arranque{"", {}, {}, ejecutable};
        const long selects_iniciales = Selects_Del_Servidor();
        {
            Proceso_Facturador primero(entorno.Carpeta(), arranque);
            ASSERT_TRUE(Esperar_Selects(selects_iniciales, kSelects_De_Varios_Ciclos, primero))
                << "the program ended or stopped reading the central database";

            const std::string salida = Unir_Ruta(entorno.Carpeta(), "segundo.txt");
            std::filesystem::remove(salida);
            Proceso_Hijo segundo(ejecutable, {"--carpeta", entorno.Carpeta()},
                                 Arranque_Hijo{salida, {"XDG_RUNTIME_DIR=/nonexistent"}, {}, {}});
            EXPECT_EQ(Codigo_De_Salida(segundo.Esperar_Fin(kPlazo)), 1);
            EXPECT_EQ(Leer_Archivo(salida),
                      "facturador: otra copia del programa ya corre con la carpeta " +
                          entorno.Carpeta() + "; esta copia termina.\n");
            EXPECT_TRUE(primero.Sigue_Corriendo());
            EXPECT_NE(Valor_Central("SELECT Titular FROM Turno_Facturador"), "");
            primero.Enviar(SIGINT);
            ASSERT_TRUE(Termino_Con_Codigo_0(primero.Esperar_Fin(kPlazo)));
            EXPECT_EQ(Valor_Central("SELECT Titular FROM Turno_Facturador"), "");
        }
        const long antes_del_tercero = Selects_Del_Servidor();
        Proceso_Facturador tercero(entorno.Carpeta(), arranque);
        EXPECT_TRUE(Esperar_Selects(antes_del_tercero, 1, tercero));
        tercero.Enviar(SIGTERM);
        EXPECT_TRUE(Termino_Con_Codigo_0(tercero.Esperar_Fin(kPlazo)));
    }
}

// A link planted where the lock file goes: the lock cannot be taken at all, so the program must
// say why and end with a failure, not run without its guard against a second copy.
TEST_F(Programa, Sin_Candado_Posible_Lo_Dice_Y_Termina_Con_Falla) {
    std::filesystem::create_symlink("/nonexistent", Archivo_Candado_de_Carpeta(entorno.Carpeta()));
    const std::string salida = Unir_Ruta(entorno.Carpeta(), "salida.txt");
    Proceso_Facturador programa(entorno.Carpeta(), salida);
    EXPECT_EQ(Codigo_De_Salida(programa.Esperar_Fin(kPlazo)), 1);
    EXPECT_TRUE(Contiene(Leer_Archivo(salida), "No se pudo tomar el candado de instancia única"));
}

// While the worker's unit waits on a row another writer holds, its file under its waiting name, a
// copy without the lease in a folder of its own settles no waiting file; once free, it publishes.
TEST_F(Programa, Una_Copia_Que_Arranca_Junto_Al_Trabajador_No_Toca_Su_Cola) {
    const auto carpetas =
        Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s3"), 3, "Centro", "A", 300);
    Sembrar_Ticket(4711, 3, "116");
    Conexion otro;
    otro.Abrir(Cadena_Central_Pruebas());
    Sembrar_Solicitud(901);
    otro.Iniciar_Transaccion();
    otro.Ejecutar("SELECT * FROM Solicitudes_de_Facturas_OL WHERE ID = 901 FOR UPDATE");
    Proceso_Facturador trabajador(entorno.Carpeta());
    ASSERT_TRUE(Esperar([&] { return !std::filesystem::is_empty(carpetas.cola); }, kPlazo));

    Carpeta_Temporal otra_carpeta;
    for (const char* base : {"local.dll", "Taldo.dll"})
        Copiar_Archivo(Unir_Ruta(entorno.Carpeta(), base), Unir_Ruta(otra_carpeta.Ruta(), base));
    const long antes = Selects_Del_Servidor();
    Proceso_Facturador consola(otra_carpeta.Ruta());
    ASSERT_TRUE(Esperar_Selects(antes, kSelects_De_Varios_Ciclos, consola));
    EXPECT_EQ(Archivos_en_Carpeta(carpetas.cola),
              std::vector<std::string>{".Factura A Folio 300.txt.901.turno1.pendiente"});
    otro.Confirmar_Transaccion();
    otro.Cerrar();
    ASSERT_TRUE(Esperar_Status(901, "2"));
    EXPECT_TRUE(
        Esperar([&] { return Existe_Archivo(Unir_Ruta(carpetas.cola, "Factura A Folio 300.txt")); },
                kPlazo));
}

// The built program as a service runs it, without windows, and asked from outside how it does.

const std::vector<std::string> kSin_Ventanas = {"--sin-ventanas"};

class Servicio : public Prueba_Programa {
  protected:
    std::string Salida() const { return Existe_Archivo(salida) ? Leer_Archivo(salida) : ""; }

    const std::string salida = Unir_Ruta(entorno.Carpeta(), "salida.txt");
};

// A file stands where branch 1's queue folder should be, branch 3's profile has a wrong RFC: their
// requests wait, each told on standard error, while branch 2's is issued. The folder made and the
// profile corrected with SQL, both are issued without a restart, the new profile taken once.
TEST_F(Servicio, Cola_Rota_O_Perfil_Errado_No_Detienen_A_Las_Demas_Y_Se_Corrigen_En_Marcha) {
    const std::string base_rota = Unir_Ruta(entorno.Carpeta(), "sucursal1");
    Escribir_Archivo(base_rota, "no es una carpeta");
    Sembrar_Sucursal(base_rota, 1, "Centro", "A", 1500, false);
    Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "sucursal2"), 2, "Norte", "B", 700);
    Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s"), 3, "Centro", "A", 1);
    for (int sucursal : {1, 2, 3}) {
        Sembrar_Ticket(4711, sucursal, "116");
        Sembrar_Solicitud(sucursal, {{"ID_Sucursal", std::to_string(sucursal)}});
    }
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET RFC_Emisor = 'MAL' "
                     "WHERE ID_Sucursal = 3");

    Proceso_Facturador programa(entorno.Carpeta(), salida, kSin_Ventanas);
    ASSERT_TRUE(Esperar_Status(2, "2")) << Salida();
    ASSERT_TRUE(Esperar([&] { return Contiene(Salida(), "Sucursal 3 (Centro): no se envía"); },
                        kPlazo))
        << Salida();
    EXPECT_EQ(Estados_Solicitudes(), "1,2,1");
    EXPECT_TRUE(Contiene(Salida(), "Error creando archivo para timbrar - Rutas: ")) << Salida();

    std::filesystem::remove(base_rota);
    for (const char* carpeta : {"cola", "validas", "no_validas"})
        std::filesystem::create_directories(Unir_Ruta(base_rota, carpeta));
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET RFC_Emisor = 'ALT150312AB1'");
    EXPECT_TRUE(Esperar_Status(1, "2")) << Salida();
    EXPECT_TRUE(Esperar_Status(3, "2")) << Salida();
    programa.Enviar(SIGTERM);
    EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(kPlazo)));
    EXPECT_TRUE(Una_Vez(Salida(), "Se tomó el perfil nuevo de la sucursal 3 (Centro).")) << Salida();
}

// What a service manager or a monitoring plugin reads. Without local settings nobody can give the
// database location: it says so and fails at once. --estado ends with the plugins' statuses; a
// missing program folder is a usage error. From a shell without a session (no runtime folder, as
// root through su), nothing but its own words reach standard error.
TEST_F(Servicio, Sale_Con_El_Codigo_Que_Leen_El_Gestor_De_Servicios_Y_Los_Plugins) {
    const auto correr = [&](const std::vector<std::string>& argumentos,
                            const std::vector<std::string>& variables = {}) {
        std::filesystem::remove(salida);
        Proceso_Hijo proceso(EJECUTABLE_FACTURADOR, argumentos,
                             Arranque_Hijo{salida, variables, {}, {}});
        return Codigo_De_Salida(proceso.Esperar_Fin(kPlazo));
    };
    Carpeta_Temporal vacia, temporal;
    EXPECT_EQ(correr({"--sin-ventanas", "--carpeta", vacia.Ruta()},
                     {"XDG_RUNTIME_DIR=", "TMPDIR=" + temporal.Ruta()}),
              1)
        << Salida();
    EXPECT_TRUE(Empieza(Salida(), "No se pudo leer la configuración local"));
    EXPECT_TRUE(Contiene(Salida(),
                         "Se produjo un error: Favor de seleccionar la base de datos y "
                         "reiniciar el programa.\n"));
    // With only an X display the windows go to it, never to the offscreen platform: Qt says that
    // this one is not there.
    correr({"--carpeta", vacia.Ruta()}, {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY=:77"});
    EXPECT_TRUE(Contiene(Salida(), "could not connect to display :77"));
    EXPECT_EQ(correr({"--estado", "--carpeta", vacia.Ruta()}), 3) << Salida();
    EXPECT_EQ(correr({"--estado", "--carpeta", entorno.Carpeta()}), 2) << Salida();
    // As the running program leaves its folder: locked, a cycle just ended.
    const Instancia_Unica corriendo(Archivo_Candado_de_Carpeta(entorno.Carpeta()));
    Estado_Publicado publicado;
    publicado.Seguimiento.Ultimo_Ciclo = Reloj_Sistema().Ahora();
    Escribir_Estado_Publicado(publicado);
    // Without /etc/facturador/central.conf, with the built-in password: only that is wrong.
    EXPECT_EQ(correr({"--estado", "--carpeta", entorno.Carpeta()}), 1) << Salida();
    EXPECT_TRUE(Empieza(Salida(),
                        "FACTURADOR ADVERTENCIA - Aviso: la cuenta central usa la "
                        "contraseña de fábrica"));
    EXPECT_EQ(Veces(Salida(), "\n- "), 0) << Salida();
    // Never seen by a running program: it waits since its date, the day before.
    Sembrar_Solicitud(1, {{"Fecha", "CURRENT_DATE - INTERVAL 1 DAY"}});
    EXPECT_EQ(correr({"--estado", "--json", "--carpeta", entorno.Carpeta()}), 1) << Salida();
    EXPECT_TRUE(Empieza(Salida(), R"({"estado":"advertencia","codigo":1,)"));
    EXPECT_TRUE(Contiene(Salida(), "espera en status 1"));
    EXPECT_EQ(correr({"--estado", "--carpeta", entorno.Carpeta() + "/no_existe"}), 64);
    // Each folder in its own column, whatever their names say.
    const auto c = Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s1"), 1, "Centro", "A", 1);
    EXPECT_EQ(correr({"--carpetas-sucursal", "1", c.validas, c.no_validas, c.cola}), 0) << Salida();
    EXPECT_EQ(
        Valor_Central("SELECT REPLACE(CONCAT_WS('|', Ruta_Cola_Facturas, Ruta_Facturas_Validas, "
                      "Ruta_Facturas_NO_Validas), '*', '/') FROM "
                      "Configuracion_Facturas_Electronicas WHERE ID_Sucursal = 1"),
        c.validas + "|" + c.no_validas + "|" + c.cola);
    EXPECT_EQ(correr({"--version"}), 0);
    EXPECT_EQ(Salida(), "Facturador V. 5.3.0\n");
}

// The whole road of a request, the built program and the simulated stamping program side by side:
// pending, queued, stamped and stored; or refused by the provider and rejected with its reason.
using Camino_Completo = Prueba_Programa;

TEST_F(Camino_Completo, La_Solicitud_Timbrada_Se_Almacena_Y_La_Rechazada_Lleva_El_Motivo) {
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

    // Stamped: both documents stored byte for byte, invoice row from the XML, amount recorded.
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
    EXPECT_TRUE(Empieza(error, "CFDI40102 - El resultado de la digesti"));
}

}  // namespace
}  // namespace facturador::pruebas

// The built program, started in a program folder of its own against the test server.
//
// The program allows one running copy per user on the machine, so while these tests run no other
// copy of the program may run under the same user: it would hold the lock and the first copy
// started here would end at once.

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>

#include <unistd.h>
#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Proceso_Facturador.h"
#include "platform/Archivos.h"
#include "platform/Instancia_Unica.h"

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

}  // namespace
}  // namespace facturador::pruebas

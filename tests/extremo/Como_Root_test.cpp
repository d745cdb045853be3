// The built program started by root in a program folder another account owns (the service's
// folder is facturador's): every order that writes works as that account, or refuses.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "apoyo/Bd_Central.h"
#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Siembra.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {
namespace {

using namespace std::chrono_literals;

// What under the folder root owns, the folder itself included.
std::string De_Root(const std::string& carpeta) {
    std::string de_root;
    for (const auto& e : std::filesystem::recursive_directory_iterator(carpeta))
        if (Examinar_Entrada(e.path().string())->Dueno == 0)
            de_root += e.path().string() + " ";
    return Examinar_Entrada(carpeta)->Dueno == 0 ? carpeta + " " + de_root : de_root;
}

// Re-queueing, storing a branch's folders and the program itself, each started by root, work as
// the folder's owner: its lock, its daily log, its state file and the re-queued file to stamp are
// the owner's, and nothing under the folder is root's. A folder whose owner has no account on the
// machine is refused with the reason, and nothing is written there.
TEST(Como_Root, CadaOrdenQueEscribeTrabajaComoElDuenoDeLaCarpeta) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can start the program as root";
    Vaciar_Base_Central();
    Entorno_Pruebas entorno;
    entorno.Crear_Bases_Locales();
    const std::string& carpeta = entorno.Carpeta();
    const auto c = Sembrar_Sucursal(Unir_Ruta(carpeta, "s3"), 3, "Centro", "A", 300);
    Sembrar_Solicitud(901, {{"Status", "2"},
                            {"Serie", "'A'"},
                            {"Folio", "300"},
                            {"Archivo", "'Factura A Folio 300'"}});
    const auto ceder = [&](const std::string& a_quien) {
        ASSERT_EQ(std::system(("chown -R " + a_quien + " " + carpeta).c_str()), 0);
    };
    ceder("nobody:nogroup");
    Carpeta_Temporal fuera;
    const std::string salida = Unir_Ruta(fuera.Ruta(), "salida.txt");
    const auto correr = [&](std::vector<std::string> argumentos) {
        argumentos.insert(argumentos.end(), {"--carpeta", carpeta});
        Proceso_Hijo proceso(EJECUTABLE_FACTURADOR, argumentos, Arranque_Hijo{salida, {}, {}, {}});
        return Codigo_De_Salida(proceso.Esperar_Fin(20s));
    };

    EXPECT_EQ(correr({"--reencolar", "901"}), 0) << Leer_Archivo(salida);
    ASSERT_EQ(Archivos_en_Carpeta(c.cola).size(), 1u);
    EXPECT_EQ(correr({"--carpetas-sucursal", "3", c.cola, c.validas, c.no_validas}), 0);
    {
        Proceso_Hijo programa(EJECUTABLE_FACTURADOR, {"--sin-ventanas", "--carpeta", carpeta},
                              Arranque_Hijo{salida, {}, {}, {}});
        const std::string publicado = Unir_Ruta(c.cola, "Factura A Folio 300.txt");
        ASSERT_TRUE(Esperar([&] { return Existe_Archivo(publicado); }, 20s))
            << Leer_Archivo(salida);
        programa.Enviar(SIGTERM);
        EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(20s)));
    }
    EXPECT_NE(correr({"--estado"}), -1) << "it only reads, as root";
    EXPECT_EQ(De_Root(carpeta), "");

    ceder("54321:54321");
    EXPECT_EQ(correr({"--sin-ventanas"}), 1);
    EXPECT_TRUE(Contiene(Leer_Archivo(salida),
                         "es del usuario 54321, que no tiene cuenta en esta máquina"));
    EXPECT_EQ(De_Root(carpeta), "");
}

}  // namespace
}  // namespace facturador::pruebas

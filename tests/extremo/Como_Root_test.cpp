// The built program started by root in a program folder another account owns (the service's
// folder is facturador's): every order that writes works as that account, or refuses.

#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Siembra.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kPlazo = 20s;

// Every file and folder under `carpeta` (itself included) that root owns.
std::vector<std::string> De_Root(const std::string& carpeta) {
    std::vector<std::string> de_root;
    const auto anotar = [&](const fs::path& ruta) {
        struct stat datos {};
        if (lstat(ruta.c_str(), &datos) == 0 && datos.st_uid == 0)
            de_root.push_back(ruta.string());
    };
    anotar(carpeta);
    for (const auto& entrada : fs::recursive_directory_iterator(carpeta))
        anotar(entrada.path());
    return de_root;
}

void Ceder_Todo(const std::string& carpeta, uid_t usuario, gid_t grupo) {
    ASSERT_EQ(lchown(carpeta.c_str(), usuario, grupo), 0);
    for (const auto& entrada : fs::recursive_directory_iterator(carpeta))
        ASSERT_EQ(lchown(entrada.path().c_str(), usuario, grupo), 0);
}

class Como_Root : public testing::Test {
  protected:
    void SetUp() override {
        if (geteuid() != 0)
            GTEST_SKIP() << "only root can start the program as root";
        nadie = getpwnam("nobody");
        ASSERT_NE(nadie, nullptr);
        Vaciar_Base_Central();
        entorno.Crear_Bases_Locales();
        chmod(entorno.Carpeta().c_str(), 0750);
        carpetas = Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s3"), 3, "Centro", "A", 300);
        Ceder_Todo(entorno.Carpeta(), nadie->pw_uid, nadie->pw_gid);
    }
    // The built program with these arguments on the test's program folder, run by root.
    int Correr(std::vector<std::string> argumentos) const {
        argumentos.insert(argumentos.end(), {"--carpeta", entorno.Carpeta()});
        Proceso_Hijo proceso(EJECUTABLE_FACTURADOR, argumentos, Arranque_Hijo{salida, {}, {}});
        return Codigo_De_Salida(proceso.Esperar_Fin(kPlazo));
    }
    std::string Salida() const { return Existe_Archivo(salida) ? Leer_Archivo(salida) : ""; }

    Entorno_Pruebas entorno;
    Carpeta_Temporal fuera;
    const std::string salida = Unir_Ruta(fuera.Ruta(), "salida.txt");
    const passwd* nadie = nullptr;
    Carpetas_Sucursal carpetas;
};

// Re-queueing, storing a branch's folders and the program itself, each started by root, work as
// the folder's owner: its lock, its daily log, its state file and the re-queued file to stamp are
// the owner's, and nothing under the folder is root's.
TEST_F(Como_Root, CadaOrdenQueEscribeTrabajaComoElDuenoDeLaCarpeta) {
    Sembrar_Solicitud(901, {{"Status", "2"},
                            {"Serie", "'A'"},
                            {"Folio", "300"},
                            {"Archivo", "'Factura A Folio 300'"}});
    EXPECT_EQ(Correr({"--reencolar", "901"}), 0) << Salida();
    const std::vector<std::string> en_cola = Archivos_en_Carpeta(carpetas.cola);
    ASSERT_EQ(en_cola.size(), 1u) << Salida();
    EXPECT_EQ(Examinar_Entrada(Unir_Ruta(carpetas.cola, en_cola[0]))->Dueno, nadie->pw_uid);
    EXPECT_EQ(
        Correr({"--carpetas-sucursal", "3", carpetas.cola, carpetas.validas, carpetas.no_validas}),
        0)
        << Salida();
    {
        Proceso_Hijo programa(EJECUTABLE_FACTURADOR,
                              {"--sin-ventanas", "--carpeta", entorno.Carpeta()},
                              Arranque_Hijo{salida, {}, {}});
        ASSERT_TRUE(Esperar(
            [&] { return Existe_Archivo(Unir_Ruta(carpetas.cola, "Factura A Folio 300.txt")); },
            kPlazo))
            << Salida();
        programa.Enviar(SIGTERM);
        EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(kPlazo))) << Salida();
    }
    EXPECT_NE(Correr({"--estado"}), -1) << "it only reads, as root";
    for (const char* nombre : {"facturador.lock", "Estado_Facturador.txt"})
        EXPECT_EQ(Examinar_Entrada(Unir_Ruta(entorno.Carpeta(), nombre))->Dueno, nadie->pw_uid)
            << nombre;
    std::string logs;
    for (const std::string& nombre : Archivos_en_Carpeta(entorno.Carpeta()))
        if (nombre.starts_with("log_"))
            logs += Leer_Archivo(Unir_Ruta(entorno.Carpeta(), nombre));
    EXPECT_NE(logs.find("Se escribió de nuevo el archivo para timbrar"), std::string::npos);
    EXPECT_EQ(De_Root(entorno.Carpeta()), std::vector<std::string>{});
}

// A folder whose owner has no account on the machine: root says why and writes nothing there.
TEST_F(Como_Root, SinCuentaDelDuenoNoSeTrabajaEnLaCarpeta) {
    Ceder_Todo(entorno.Carpeta(), 54321, 54321);
    ASSERT_EQ(getpwuid(54321), nullptr);
    EXPECT_EQ(Correr({"--sin-ventanas"}), 1);
    EXPECT_NE(Salida().find("es del usuario 54321, que no tiene cuenta en esta máquina"),
              std::string::npos)
        << Salida();
    EXPECT_EQ(De_Root(entorno.Carpeta()), std::vector<std::string>{});
}

}  // namespace
}  // namespace facturador::pruebas

// What the command line asks for, read the same by the program with windows and without.

#include "app/Linea_Comandos.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <utility>

#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"
#include "platform/Cuentas_Centrales.h"

namespace facturador::pruebas {
namespace {

Linea_Comandos Leer(std::vector<std::string> argumentos) {
    argumentos.insert(argumentos.begin(), "facturador");
    return Leer_Linea_Comandos(argumentos);
}

// Each order and what it carries, what cannot be used, and the program folder: --carpeta, else
// FACTURADOR_CARPETA (a folder that exists), else the executable's (not /usr/bin here).
TEST(Linea_Comandos, Lee_Cada_Orden_Su_Carpeta_Y_Rechaza_Lo_Que_No_Se_Puede_Usar) {
    Carpeta_Temporal carpeta;
    const std::string ruta = carpeta.Ruta();
    Linea_Comandos linea = Leer({"--sin-ventanas", "--carpeta", ruta + "/"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Programa);
    EXPECT_TRUE(linea.sin_ventanas);
    EXPECT_EQ(linea.carpeta, carpeta.Ruta());
    EXPECT_EQ(linea.error, "");

    linea = Leer({"--estado", "--json"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Estado);
    EXPECT_TRUE(linea.json);
    linea = Leer({"--reencolar", "42"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Reencolar);
    EXPECT_EQ(linea.id_solicitud, 42);
    linea = Leer({"--help"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Ayuda);
    for (const char* texto : {"Genera las facturas", "--help  ", "Muestra esta ayuda", "--version ",
                              "Muestra la versión", "--sin-ventanas ", "Corre sin ventana",
                              "--carpeta <carpeta> ", "Carpeta del programa", "--reencolar <id> ",
                              "Vuelve a escribir", "--estado ", "Informa cómo está", "--json ",
                              "Con --estado", "--carpetas-sucursal <id> ", "Guarda en el perfil"})
        EXPECT_NE(linea.ayuda.find(texto), std::string::npos) << texto << "\n" << linea.ayuda;
    EXPECT_EQ(Leer({"-v"}).orden, Linea_Comandos::Orden::Version);

    EXPECT_EQ(Leer({"--reencolar", "x"}).error, "El ID de solicitud no es un número: x");
    EXPECT_EQ(Leer({"--json"}).error, "--json solo acompaña a --estado.");
    EXPECT_EQ(Leer({"--estado", "--reencolar", "1"}).error,
              "--estado, --reencolar y --carpetas-sucursal no van juntos.");
    EXPECT_EQ(Leer({"--carpeta", ruta + "/no_existe"}).error,
              "La carpeta del programa no existe: " + carpeta.Ruta() + "/no_existe");
    EXPECT_EQ(Leer({"suelto"}).error, "Argumento no reconocido: suelto");
    EXPECT_NE(Leer({"--ventanas"}).error, "");

    linea = Leer({"--carpetas-sucursal", "2", ruta + "/c/", "v", "/nv"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Carpetas_Sucursal);
    EXPECT_EQ(linea.id_sucursal, 2);
    const std::string aqui = std::filesystem::current_path().string();
    EXPECT_EQ(linea.carpetas_sucursal,
              (std::vector{carpeta.Ruta() + "/c", aqui + "/v", std::string("/nv")}));
    EXPECT_NE(Leer({"--carpetas-sucursal", "2", "/cola"}).error, "");

    EXPECT_EQ(Leer({"--estado"}).carpeta, "");
    setenv("FACTURADOR_CARPETA", (ruta + "/").c_str(), 1);
    EXPECT_EQ(Leer({"--estado"}).carpeta, carpeta.Ruta());
    EXPECT_EQ(Leer({"--carpeta", "/"}).carpeta, "/");
    setenv("FACTURADOR_CARPETA", "/no/existe", 1);
    EXPECT_EQ(Leer({}).error, "La carpeta del programa no existe: /no/existe (FACTURADOR_CARPETA)");
    unsetenv("FACTURADOR_CARPETA");
}

// Monitoring's account for --estado, the service's for the rest, unless --cuenta names one. Each
// reads its own file once there (even a link: its reader tells what is wrong), else the service's.
TEST(Linea_Comandos, La_Cuenta_Central_Es_La_De_La_Orden_Salvo_Que_Se_Nombre) {
    const std::pair<std::vector<std::string>, Cuenta_Central> casos[] = {
        {{"--reencolar", "7"}, Cuenta_Central::Servicio},
        {{"--estado"}, Cuenta_Central::Monitoreo},
        {{"--estado", "--cuenta", "servicio"}, Cuenta_Central::Servicio},
        {{"--cuenta=consola"}, Cuenta_Central::Consola}};
    for (const auto& [argumentos, cuenta] : casos)
        EXPECT_EQ(Leer(argumentos).cuenta, cuenta) << argumentos.size();
    EXPECT_EQ(Leer({"--cuenta", "root"}).error,
              "--cuenta es servicio, consola o monitoreo, no root");

    Carpeta_Temporal carpeta;
    const auto archivo = [&](Cuenta_Central cuenta) {
        return Archivo_Credenciales_de(cuenta, carpeta.Ruta()).substr(carpeta.Ruta().size() + 1);
    };
    EXPECT_EQ(archivo(Cuenta_Central::Consola), "central.conf");
    Escribir_Archivo(Unir_Ruta(carpeta.Ruta(), "consola.conf"), "");
    ASSERT_EQ(symlink("/no/existe", Unir_Ruta(carpeta.Ruta(), "monitoreo.conf").c_str()), 0);
    EXPECT_EQ(archivo(Cuenta_Central::Servicio), "central.conf");
    EXPECT_EQ(archivo(Cuenta_Central::Consola), "consola.conf");
    EXPECT_EQ(archivo(Cuenta_Central::Monitoreo), "monitoreo.conf");
}

// Only the program itself, with or without its folder, starts a window system.
TEST(Linea_Comandos, Solo_El_Programa_Con_Ventanas_Pide_Ventanas) {
    const std::pair<std::vector<std::string>, bool> casos[] = {
        {{}, true},
        {{"--carpeta", "/srv/x"}, true},
        {{"--carpeta=/srv/x"}, true},
        {{"--sin-ventanas"}, false},
        {{"--carpeta", "/srv/x", "--sin-ventanas"}, false},
        {{"--estado"}, false},
        {{"--carpeta", "/srv/x", "--reencolar", "7"}, false},
        {{"--desconocida"}, false},
        {{"--cuenta", "consola"}, true},
        {{"--cuenta=consola", "--carpeta", "/srv/x"}, true},
        {{"--cuenta", "consola", "--estado"}, false},
    };
    for (const auto& [argumentos, ventanas] : casos) {
        std::vector<std::string> linea = {"facturador"};
        linea.insert(linea.end(), argumentos.begin(), argumentos.end());
        std::vector<char*> argv;
        for (std::string& argumento : linea)
            argv.push_back(argumento.data());
        EXPECT_EQ(Pide_Ventanas(static_cast<int>(argv.size()), argv.data()), ventanas)
            << linea.size();
    }
}

}  // namespace
}  // namespace facturador::pruebas

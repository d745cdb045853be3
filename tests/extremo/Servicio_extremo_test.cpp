// The built program as a service runs it: without windows, nobody to answer a dialog, the central
// server restarted under it, a branch's folder broken; and asked how it is doing from outside.

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Proceso_Facturador.h"
#include "apoyo/Siembra.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {
namespace {

using namespace std::chrono_literals;

constexpr auto kPlazo_Fin = 20s;
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
    EXPECT_TRUE(Termino_Con_Codigo_0(programa.Esperar_Fin(kPlazo_Fin)));
}

// What a service manager or a monitoring plugin reads from outside. Without local settings nobody
// can give the database location: the program says so and ends with a failure at once. --estado
// ends with the plugins' statuses; a program folder that is not there is a usage error.
TEST_F(Servicio, Sale_Con_El_Codigo_Que_Leen_El_Gestor_De_Servicios_Y_Los_Plugins) {
    const auto correr = [&](const std::vector<std::string>& argumentos) {
        std::filesystem::remove(salida);
        Proceso_Hijo proceso(EJECUTABLE_FACTURADOR, argumentos, salida);
        return Codigo_De_Salida(proceso.Esperar_Fin(kPlazo_Fin));
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

}  // namespace
}  // namespace facturador::pruebas

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

// Nobody can give the database location: start-up says so and ends with a failure at once.
TEST_F(Servicio, Sin_Configuracion_Local_Termina_Con_Falla_Sin_Esperar_A_Nadie) {
    Carpeta_Temporal sin_configuracion;
    Proceso_Facturador programa(sin_configuracion.Ruta(), salida, kSin_Ventanas);
    EXPECT_EQ(Codigo_De_Salida(programa.Esperar_Fin(kPlazo_Fin)), 1) << Salida();
    EXPECT_NE(
        Salida().find("Se produjo un error: Favor de seleccionar la base de datos y reiniciar "
                      "el programa.\n"),
        std::string::npos)
        << Salida();
}

// --estado runs beside nothing here: each exit status a monitoring plugin reads, and the version.
TEST_F(Servicio, El_Estado_Sale_Con_El_Codigo_De_Los_Plugins_De_Monitoreo) {
    const auto estado = [&](const std::string& carpeta, std::vector<std::string> mas = {}) {
        std::vector<std::string> argumentos = {"--estado", "--carpeta", carpeta};
        argumentos.insert(argumentos.end(), mas.begin(), mas.end());
        std::filesystem::remove(salida);
        Proceso_Hijo proceso(EJECUTABLE_FACTURADOR, argumentos, salida);
        return Codigo_De_Salida(proceso.Esperar_Fin(kPlazo_Fin));
    };
    Carpeta_Temporal sin_configuracion;
    EXPECT_EQ(estado(sin_configuracion.Ruta()), 3) << Salida();
    EXPECT_EQ(estado(entorno.Carpeta()), 0) << Salida();
    EXPECT_TRUE(Salida().starts_with("FACTURADOR BIEN - ")) << Salida();

    // Never seen by a running program: it waits since its date, the day before.
    Sembrar_Solicitud(1, {{"Fecha", "CURRENT_DATE - INTERVAL 1 DAY"}});
    EXPECT_EQ(estado(entorno.Carpeta(), {"--json"}), 1) << Salida();
    EXPECT_TRUE(Salida().starts_with(R"({"estado":"advertencia","codigo":1,)")) << Salida();
    EXPECT_EQ(estado(entorno.Carpeta() + "/no_existe"), 64) << Salida();

    std::filesystem::remove(salida);
    Proceso_Hijo version(EJECUTABLE_FACTURADOR, {"--version"}, salida);
    EXPECT_TRUE(Termino_Con_Codigo_0(version.Esperar_Fin(kPlazo_Fin)));
    EXPECT_EQ(Salida(), "Facturador V. 5.3.0\n");
}

}  // namespace
}  // namespace facturador::pruebas

// Command line and the folders the stand-in serves.

#include <gtest/gtest.h>

#include <filesystem>

#include "Carpetas.h"
#include "Opciones.h"
#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"

namespace timbrador::pruebas {
namespace {

namespace fs = std::filesystem;
using namespace facturador::pruebas;

TEST(Opciones, LeeCadaOpcionYRechazaLoQueNoSeEntiende) {
    const Opciones o = Leer_Opciones({"--una-vez", "--demora", "15", "--solo-pdf", "--fallar",
                                      "CFDI40147 - x", "--carpeta-base", "/tmp/demo"});
    EXPECT_TRUE(o.una_vez);
    EXPECT_EQ(o.comportamiento.demora, std::chrono::seconds(15));
    EXPECT_EQ(o.comportamiento.entrega, Entrega::Solo_PDF);
    EXPECT_EQ(o.comportamiento.falla, "CFDI40147 - x");
    EXPECT_EQ(o.carpeta_base, "/tmp/demo");
    EXPECT_EQ(Leer_Opciones({"--solo-xml"}).comportamiento.entrega, Entrega::Solo_XML);

    using Argumentos = std::vector<std::string>;
    for (const Argumentos& args :
         {Argumentos{"--demora"}, Argumentos{"--demora", "diez"}, Argumentos{"--demora", "-3"},
          Argumentos{"--demora", "5s"}, Argumentos{"--solo-xml", "--solo-pdf"},
          Argumentos{"--fallar"}, Argumentos{"--fallar", ""}, Argumentos{"--carpeta-base"},
          Argumentos{"--una_vez"}})
        EXPECT_THROW(Leer_Opciones(args), Error_Opciones) << args[0];
}

TEST(Carpetas, LosPerfilesDeLaBaseCentralConSusSeparadores) {
    Vaciar_Base_Central();
    Ejecutar_Central(
        "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, Ruta_Cola_Facturas, "
        "Ruta_Facturas_Validas, Ruta_Facturas_NO_Validas) VALUES "
        "(7, '*srv*s7*cola', '*srv*s7*validas', '*srv*s7*no validas'), "
        "(3, '*srv*s3*cola', '*srv*s3*validas', '*srv*s3*no_validas'), "
        "(5, '', '*srv*s5*validas', '*srv*s5*no_validas')");
    const std::vector<Carpetas_Sucursal> carpetas = Carpetas_Desde_BD(Cadena_Central_Pruebas());
    const std::vector<Carpetas_Sucursal> esperadas = {
        {"sucursal 3", "/srv/s3/cola", "/srv/s3/validas", "/srv/s3/no_validas"},
        {"sucursal 7", "/srv/s7/cola", "/srv/s7/validas", "/srv/s7/no validas"},
    };
    EXPECT_EQ(carpetas, esperadas);
}

TEST(Carpetas, LaCarpetaBaseYSusSubcarpetasConColaYSinNingunaColaEsUnError) {
    Carpeta_Temporal t;
    const fs::path raiz(t.Ruta());
    fs::create_directories(raiz / "sucursal2" / "cola");
    fs::create_directories(raiz / "sucursal1" / "cola");
    fs::create_directories(raiz / "otra");
    const std::vector<Carpetas_Sucursal> carpetas = Carpetas_Desde_Base(t.Ruta());
    ASSERT_EQ(carpetas.size(), 2u);
    EXPECT_EQ(carpetas[0].nombre, "sucursal1");
    EXPECT_EQ(carpetas[1].validas, (raiz / "sucursal2" / "validas").string());
    EXPECT_TRUE(fs::is_directory(raiz / "sucursal1" / "no_validas"));

    fs::create_directories(raiz / "cola");
    EXPECT_EQ(Carpetas_Desde_Base(t.Ruta()).front().cola, (raiz / "cola").string());
    EXPECT_ANY_THROW(Carpetas_Desde_Base((raiz / "otra").string()));  // no queue at all
}

}  // namespace
}  // namespace timbrador::pruebas

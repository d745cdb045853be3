#include "cancellation/Archivo_Cancelacion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Vecino_Hostil.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

namespace fs = std::filesystem;

class Archivo_Cancelacion : public testing::Test {
  protected:
    std::vector<std::string> Nombres() const {
        std::vector<std::string> nombres;
        for (const auto& entrada : fs::directory_iterator(cola.Ruta()))
            nombres.push_back(entrada.path().filename().string());
        std::sort(nombres.begin(), nombres.end());
        return nombres;
    }

    Carpeta_Temporal cola;
    const std::string ruta = Unir_Ruta(cola.Ruta(), "Cancelar_A1500.xml");
    const std::string parcial = Unir_Ruta(cola.Ruta(), ".Cancelar_A1500.xml.parcial");
};

// Control characters in a value never start a line; the request replaces an earlier read-only one
// and whatever a crash left half written, and nothing else stays in the queue folder.
TEST_F(Archivo_Cancelacion, OneWholeLineReplacesTheEarlierRequestAndLeavesNothingElse) {
    Escribir_Archivo(ruta, "anterior\r\n");
    Poner_Solo_Lectura(ruta);
    Escribir_Archivo(parcial, "ALT150312AB1|6F1A");
    Generar_Archivo_Cancelacion(ruta, "ALT150312AB1\r\n", "6F1A\n2B3C\t\x7f\xc2\x85X\xc3\xb1");
    EXPECT_EQ(Leer_Archivo(ruta), "ALT150312AB1  |6F1A 2B3C   X\xf1\r\n");
    EXPECT_EQ(Nombres(), std::vector<std::string>{"Cancelar_A1500.xml"});
}

// The line is written elsewhere first: when that fails the earlier request stays whole and no new
// file appears under the real name. A path that climbs out with ".." is refused.
TEST_F(Archivo_Cancelacion, AFailedWriteLeavesTheEarlierRequestWhole) {
    Escribir_Archivo(ruta, "anterior\r\n");
    fs::create_directories(fs::path(parcial) / "ocupado");
    EXPECT_THROW(Generar_Archivo_Cancelacion(ruta, "ALT150312AB1", "6F1A"), Error_Plataforma);
    EXPECT_EQ(Leer_Archivo(ruta), "anterior\r\n");
    fs::remove_all(parcial);
    fs::remove(ruta);
    fs::create_directories(fs::path(ruta) / "ocupado");
    EXPECT_THROW(Generar_Archivo_Cancelacion(ruta, "ALT150312AB1", "6F1A"), Error_Plataforma);
    EXPECT_EQ(Nombres(), std::vector<std::string>{"Cancelar_A1500.xml"});
    fs::create_directory(cola.Ruta() + "/x");
    EXPECT_THROW(Generar_Archivo_Cancelacion(cola.Ruta() + "/x/../Cancelar_A1.xml", "A", "B"),
                 Error_Plataforma);
    EXPECT_TRUE(fs::is_directory(ruta));
}

// A link to another file planted again and again at the hidden name the request is written under,
// and at its own name: it is written new or not at all, never through the link.
TEST_F(Archivo_Cancelacion, ALinkRacingItsNamesIsNeverFollowed) {
    Carpeta_Temporal ajena;
    const std::string victima = Unir_Ruta(ajena.Ruta(), "victima.txt");
    Escribir_Archivo(victima, "intacto");
    const auto escribir = [&] { Generar_Archivo_Cancelacion(ruta, "ALT150312AB1", "6F1A"); };
    Con_Enlaces_en_Carrera({parcial, ruta}, victima, [&] {
        for (int i = 0; i < 200; ++i)
            try {
                escribir();
            } catch (const Error_Plataforma&) {
            }
    });
    // How many tries the neighbour lets through depends on the machine's load; once it stops,
    // the request is written as ever.
    EXPECT_NO_THROW(escribir());
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(ruta)));
    EXPECT_EQ(Leer_Archivo(victima), "intacto");
}

}  // namespace
}  // namespace facturador::pruebas

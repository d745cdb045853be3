// Files in folders that another account can write: created new, never written through a link;
// read through one descriptor, never from a link or a pipe, and never beyond a limit.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Vecino_Hostil.h"
#include "platform/Archivos.h"
#include "platform/Carpeta_Runtime.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"
#include "platform/Instancia_Unica.h"

namespace facturador::pruebas {
namespace {

namespace fs = std::filesystem;

class Archivos_Hostiles : public testing::Test {
  protected:
    std::string En(const std::string& nombre) const { return Unir_Ruta(carpeta.Ruta(), nombre); }
    // The number of the failure, or 0 when it reads.
    long Falla_al_Leer(const std::string& ruta, size_t limite = 1024) const {
        try {
            Leer_Archivo_Regular(ruta, limite);
            return 0;
        } catch (const Error_Plataforma& e) {
            return e.Numero;
        }
    }

    Carpeta_Temporal carpeta, ajena;
    const std::string victima = Unir_Ruta(ajena.Ruta(), "victima.txt");
};

// A plain file is read up to the limit, and says whether it held more; a link, a pipe, a folder or
// nothing at all is a failure, at once, and none of them is listed among a folder's files.
TEST_F(Archivos_Hostiles, SoloSeLeeYSeListaUnArchivoRegularYHastaSuLimite) {
    Escribir_Archivo(victima, "0123456789");
    Escribir_Archivo(En("regular"), "0123456789");
    const auto leido = Leer_Archivo_Regular(En("regular"), 10);
    EXPECT_EQ(leido.Bytes + (leido.Completo ? " entero " : " cortado ") +
                  std::to_string(leido.Entrada.Tamano),
              "0123456789 entero 10");
    ASSERT_TRUE(Plantar_Disperso(En(".disperso"), "Primera"));
    const auto disperso = Leer_Archivo_Regular(En(".disperso"), 4096);
    EXPECT_EQ(disperso.Bytes.size(), 4096u);
    EXPECT_FALSE(disperso.Completo);
    fs::remove(En(".disperso"));

    ASSERT_TRUE(Plantar_Enlace(En("enlace"), victima));
    ASSERT_TRUE(Plantar_Tuberia(En("tuberia")));
    fs::create_directory(En("carpeta"));
    for (const char* nombre : {"enlace", "tuberia", "carpeta"})
        EXPECT_EQ(Falla_al_Leer(En(nombre)), kError_No_Regular) << nombre;
    EXPECT_EQ(Falla_al_Leer(En("nada")), ENOENT);
    EXPECT_EQ(Archivos_en_Carpeta(carpeta.Ruta()), std::vector<std::string>{"regular"});
}

// A name joined to its folder stays in it: no separator, no "..", no control character. A folder
// climbs out of where it leads with a ".." among its parts, and only then.
TEST(Rutas_Hostiles, LosNombresQuedanEnSuCarpetaYLasCarpetasNoSuben) {
    for (const char* nombre : {"Factura A Folio 1", "", "Q'\\9", ".Factura", "A.B"})
        EXPECT_TRUE(Queda_En_Su_Carpeta(nombre)) << nombre;
    for (const char* nombre : {"../F1", "a/b", "..", "F..1", "F1\n", "/etc/passwd"})
        EXPECT_FALSE(Queda_En_Su_Carpeta(nombre)) << nombre;
    for (const char* ruta : {"/srv/f/cola", "/srv/f..g/cola", "", "/srv/.f/cola"})
        EXPECT_FALSE(Sube_de_Carpeta(ruta)) << ruta;
    for (const char* ruta : {"/srv/f/../cola", "..", "/srv/f/..", "../f"})
        EXPECT_TRUE(Sube_de_Carpeta(ruta)) << ruta;
}

// A link or a pipe planted at a new file's name, or at the name it is written under first (for the
// state file "<name>.nuevo"), is replaced, never written through; the content and permissions are
// the file's own. Nothing is appended through a link or to a pipe.
TEST_F(Archivos_Hostiles, UnArchivoNuevoNuncaSeEscribePorLoQueHabiaEnSuNombre) {
    Escribir_Archivo(victima, "intacto");
    const std::string nuevo = En("nuevo.txt"), temporal = En(".nuevo.txt.parcial");
    for (const bool tuberia : {true, false}) {
        const auto plantar = [&](const std::string& ruta) {
            ASSERT_TRUE(tuberia ? Plantar_Tuberia(ruta) : Plantar_Enlace(ruta, victima));
        };
        plantar(nuevo);
        plantar(temporal);
        Publicar_Archivo_Nuevo(temporal, nuevo, "nuevo", 0444);
        EXPECT_EQ(Leer_Archivo_Regular(nuevo, 100).Bytes, "nuevo");
        EXPECT_EQ(Examinar_Entrada(nuevo)->Modo, 0444u);
        EXPECT_FALSE(Examinar_Entrada(temporal));
        plantar(nuevo);
        Crear_Archivo_Nuevo(nuevo, "otra vez");
        EXPECT_EQ(Leer_Archivo_Regular(nuevo, 100).Bytes, "otra vez");
        plantar(nuevo + ".nuevo");
        Reemplazar_Archivo(nuevo, "estado");
        EXPECT_EQ(Leer_Archivo_Regular(nuevo, 100).Bytes, "estado");
        plantar(nuevo);  // nor is one appended to, the daily log
        EXPECT_THROW(Anexar_Archivo(nuevo, "más"), Error_Plataforma);
    }
    EXPECT_EQ(Leer_Archivo(victima), "intacto");
}

// The lock file of a program folder: a pipe or a link at its name never keeps the health check
// waiting, and the program does not take it as its lock.
TEST_F(Archivos_Hostiles, UnCandadoQueNoEsArchivoNoDetieneANadie) {
    const std::string candado = Archivo_Candado_de_Carpeta(carpeta.Ruta());
    Escribir_Archivo(victima, "intacto");
    for (const bool tuberia : {true, false}) {
        ASSERT_TRUE(tuberia ? Plantar_Tuberia(candado) : Plantar_Enlace(candado, victima));
        EXPECT_EQ(Instancia_Corriendo(candado), std::nullopt);
        const Instancia_Unica instancia(candado);
        EXPECT_EQ(instancia.Resultado(), Instancia_Unica::Estado::Falla);
        EXPECT_NE(instancia.Falla().find("no es un archivo regular"), std::string::npos);
    }
    EXPECT_EQ(Leer_Archivo(victima), "intacto");
}

// Without a session's runtime folder, Qt's own fallback in TMPDIR is made private to the user and
// named; one already there that is not private (a neighbour may have made it) is left alone.
TEST_F(Archivos_Hostiles, LaCarpetaDeSesionSeHacePrivadaYUnaAbiertaSeDeja) {
    const auto valor = [](const char* variable) {
        const char* v = std::getenv(variable);
        return std::string(v ? v : "");
    };
    const std::string xdg = valor("XDG_RUNTIME_DIR"), tmpdir = valor("TMPDIR");
    setenv("TMPDIR", carpeta.Ruta().c_str(), 1);
    const std::string propia = Unir_Ruta(carpeta.Ruta(), "runtime-" + Cuenta_Usuario());
    for (const auto modo : {fs::perms::none, fs::perms::owner_all | fs::perms::others_all}) {
        unsetenv("XDG_RUNTIME_DIR");
        if (modo != fs::perms::none)
            fs::permissions(propia, modo);
        Asegurar_Carpeta_Runtime();
        EXPECT_EQ(valor("XDG_RUNTIME_DIR"), modo == fs::perms::none ? propia : "");
    }
    EXPECT_EQ(fs::status(propia).permissions(), fs::perms::owner_all | fs::perms::others_all);
    setenv("XDG_RUNTIME_DIR", xdg.c_str(), 1);
    tmpdir.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", tmpdir.c_str(), 1);
}

}  // namespace
}  // namespace facturador::pruebas

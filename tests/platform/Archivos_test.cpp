// Files in folders that another account can write: created new, never written through a link;
// read through one descriptor, never from a link or a pipe, and never beyond a limit.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Vecino_Hostil.h"
#include "platform/Archivos.h"
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
// nothing at all is a failure, at once.
TEST_F(Archivos_Hostiles, SoloSeLeeUnArchivoRegularYHastaSuLimite) {
    Escribir_Archivo(victima, "0123456789");
    Escribir_Archivo(En("regular"), "0123456789");
    const auto leido = Leer_Archivo_Regular(En("regular"), 10);
    EXPECT_EQ(leido.Bytes, "0123456789");
    EXPECT_TRUE(leido.Completo);
    EXPECT_TRUE(leido.Entrada.Regular);
    EXPECT_EQ(leido.Entrada.Tamano, 10u);
    const auto cortado = Leer_Archivo_Regular(En("regular"), 4);
    EXPECT_EQ(cortado.Bytes, "0123");
    EXPECT_FALSE(cortado.Completo);
    ASSERT_TRUE(Plantar_Disperso(En("disperso"), "Primera"));
    const auto disperso = Leer_Archivo_Regular(En("disperso"), 4096);
    EXPECT_EQ(disperso.Bytes.size(), 4096u);
    EXPECT_FALSE(disperso.Completo);

    ASSERT_TRUE(Plantar_Enlace(En("enlace"), victima));
    ASSERT_TRUE(Plantar_Tuberia(En("tuberia")));
    fs::create_directory(En("carpeta"));
    EXPECT_EQ(Falla_al_Leer(En("enlace")), kError_No_Regular);
    EXPECT_EQ(Falla_al_Leer(En("tuberia")), kError_No_Regular);
    EXPECT_EQ(Falla_al_Leer(En("carpeta")), kError_No_Regular);
    EXPECT_EQ(Falla_al_Leer(En("nada")), ENOENT);
}

// A name joined to its folder stays in it: no separator, no "..", no control character. A folder
// climbs out of where it leads with a ".." among its parts, and only then. A folder's listing
// holds its regular files, never a link, whatever it points at.
TEST_F(Archivos_Hostiles, LosNombresQuedanEnSuCarpetaYLaListaNoTraeEnlaces) {
    for (const char* nombre : {"Factura A Folio 1", "", "Q'\\9", ".Factura", "A.B"})
        EXPECT_TRUE(Queda_En_Su_Carpeta(nombre)) << nombre;
    for (const char* nombre : {"../F1", "a/b", "..", "F..1", "F1\n", "/etc/passwd"})
        EXPECT_FALSE(Queda_En_Su_Carpeta(nombre)) << nombre;
    for (const char* ruta : {"/srv/f/cola", "/srv/f..g/cola", "", "/srv/.f/cola"})
        EXPECT_FALSE(Sube_de_Carpeta(ruta)) << ruta;
    for (const char* ruta : {"/srv/f/../cola", "..", "/srv/f/..", "../f"})
        EXPECT_TRUE(Sube_de_Carpeta(ruta)) << ruta;

    Escribir_Archivo(victima, "intacto");
    Escribir_Archivo(En("regular"), "");
    ASSERT_TRUE(Plantar_Enlace(En("enlace"), victima));
    ASSERT_TRUE(Plantar_Tuberia(En("tuberia")));
    fs::create_directory(En("carpeta"));
    EXPECT_EQ(Archivos_en_Carpeta(carpeta.Ruta()), std::vector<std::string>{"regular"});
}

// A file is created new: a link or a pipe planted at its name, or at the name it is written under
// first, is replaced and never written through; the file's content and permissions are its own.
TEST_F(Archivos_Hostiles, UnArchivoNuevoNuncaSeEscribePorLoQueHabiaEnSuNombre) {
    Escribir_Archivo(victima, "intacto");
    const std::string nuevo = En("nuevo.txt");
    const std::string temporal = En(".nuevo.txt.parcial");
    for (const auto& plantar : {
             +[](const std::string&r, const std::string&v) { return Plantar_Enlace(r, v); },
             +[](const std::string&r, const std::string&) { return Plantar_Tuberia(r); },
         }) {
        ASSERT_TRUE(plantar(nuevo, victima));
        ASSERT_TRUE(plantar(temporal, victima));
        Publicar_Archivo_Nuevo(temporal, nuevo, "nuevo", 0444);
        EXPECT_EQ(Leer_Archivo_Regular(nuevo, 100).Bytes, "nuevo");
        EXPECT_FALSE(fs::exists(fs::symlink_status(temporal)));
        struct stat datos {};
        ASSERT_EQ(lstat(nuevo.c_str(), &datos), 0);
        EXPECT_EQ(datos.st_mode & 0777, 0444u);
        ASSERT_TRUE(plantar(nuevo, victima));
        Crear_Archivo_Nuevo(nuevo, "otra vez");
        EXPECT_EQ(Leer_Archivo_Regular(nuevo, 100).Bytes, "otra vez");
    }
    // The state file is replaced through "<name>.nuevo" the same way.
    ASSERT_TRUE(Plantar_Enlace(nuevo + ".nuevo", victima));
    Reemplazar_Archivo(nuevo, "estado");
    EXPECT_EQ(Leer_Archivo_Regular(nuevo, 100).Bytes, "estado");
    // Appending never follows a link either.
    ASSERT_TRUE(Plantar_Enlace(nuevo, victima));
    EXPECT_THROW(Anexar_Archivo(nuevo, "más"), Error_Plataforma);
    EXPECT_EQ(Leer_Archivo(victima), "intacto");
}

// A link planted again and again at the name while the file is created there: every create makes
// the file new or fails, and the other file never changes.
TEST_F(Archivos_Hostiles, UnEnlaceEnCarreraNuncaSeSigue) {
    Escribir_Archivo(victima, "intacto");
    const std::string nuevo = En("nuevo.txt");
    int creados = 0;
    {
        const Enlaces_en_Carrera vecino({nuevo}, victima);
        for (int i = 0; i < 300; ++i) {
            try {
                Crear_Archivo_Nuevo(nuevo, "nuevo");
                ++creados;
            } catch (const Error_Plataforma& e) {
                EXPECT_EQ(e.Numero, EEXIST);
            }
        }
        EXPECT_GT(vecino.Plantados(), 0);
    }
    EXPECT_GT(creados, 0);
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

}  // namespace
}  // namespace facturador::pruebas

#include "generation/Reencolado.h"
#include "Siembra_Central.h"

namespace facturador::pruebas {
namespace {

using Reencolado = Prueba_Central;

// A request in status 2 gets its file to stamp again, same series and folio, only when nothing of
// it is anywhere: not published, not waiting in the queue, no result. Every refusal says why and
// writes nothing. It needs nothing loaded: it reads the request and the profile itself.
TEST_F(Reencolado, SoloCuandoNadaDeLaSolicitudQuedaEnNingunaCarpeta) {
    const auto c = Sembrar_Sucursal(3, "Centro", "B", 90);
    const Columnas en_cola = {{"Status", "2"},
                              {"Serie", "'B'"},
                              {"Folio", "65"},
                              {"ID_Factura", "-1"},
                              {"Archivo", "'Factura B Folio 65'"}};
    Sembrar_Solicitud(194, en_cola);
    Sembrar_Solicitud(195, {{"Status", "3"}});
    Columnas otro_archivo = en_cola;
    otro_archivo["Archivo"] = "'Factura B Folio 66'";
    Sembrar_Solicitud(196, otro_archivo);

    const std::string cola = Unir_Ruta(c.cola, "Factura B Folio 65.txt");
    const auto hecho = Reencolar_Solicitud(194);
    EXPECT_TRUE(hecho.Hecho);
    EXPECT_EQ(hecho.Mensaje,
              "Solicitud ID: 194 - Se escribió de nuevo el archivo para timbrar " + cola + ".");
    const std::string archivo = Leer_Archivo(cola);
    EXPECT_NE(archivo.find("\r\nSerie=B\r\nFolio=65\r\n"), std::string::npos);
    EXPECT_NE(Leer_Log().find(hecho.Mensaje), std::string::npos);
    EXPECT_EQ(Archivos_en_Carpeta(c.cola).size(), 1u);

    const std::string no = "Solicitud ID: 194 - No se reencola: ya existe ";
    EXPECT_EQ(Reencolar_Solicitud(194).Mensaje, no + cola + ".");
    std::filesystem::remove(cola);
    for (const std::string& resto :
         {Unir_Ruta(c.cola, ".Factura B Folio 65.txt.194.pendiente"),
          Unir_Ruta(c.validas, "Factura B Folio 65.xml"),
          Unir_Ruta(c.no_validas, "Factura B Folio 65-error timbrado.txt")}) {
        Escribir_Archivo(resto, "");
        const auto negado = Reencolar_Solicitud(194);
        EXPECT_FALSE(negado.Hecho);
        EXPECT_EQ(negado.Mensaje, no + resto + ".");
        std::filesystem::remove(resto);
    }
    EXPECT_EQ(Reencolar_Solicitud(195).Mensaje,
              "Solicitud ID: 195 - No se reencola: la solicitud está en status 3 y sólo se "
              "reencola una solicitud en status 2.");
    EXPECT_EQ(Reencolar_Solicitud(196).Mensaje,
              "Solicitud ID: 196 - No se reencola: su Archivo \"Factura B Folio 66\" no "
              "corresponde a su Serie y Folio.");
    EXPECT_TRUE(Archivos_en_Carpeta(c.cola).empty());
}

}  // namespace
}  // namespace facturador::pruebas

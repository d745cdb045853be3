#include <sys/stat.h>

#include "Siembra_Central.h"
#include "generation/Cola_Timbrado.h"

namespace facturador::pruebas {
namespace {

class Cola_Timbrado : public Prueba_Central {
  protected:
    Solicitud_Factura Solicitud_Cargada(std::map<std::string, std::string> cambios = {}) {
        Sembrar_Solicitud(10, std::move(cambios));
        Conexion conexion;
        Abrir_Conexion_Central(conexion);
        Cargar_Solicitudes_Pendientes(conexion);
        Cerrar_Conexion(conexion);
        return Solicitudes_Pendientes().at(0);
    }
    bool Solo_Lectura(const std::string& ruta) const {
        struct stat datos {};
        return stat(ruta.c_str(), &datos) == 0 && (datos.st_mode & 0222) == 0;
    }
    size_t Archivos_En(const std::string& carpeta) const {
        size_t cantidad = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(carpeta))
            ++cantidad;
        return cantidad;
    }
};

TEST_F(Cola_Timbrado, ArchivoCompletoEnWindows1252SoloLecturaYSinRestos) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro");
    Cargar_Datos();
    const std::string cancelar = Unir_Ruta(carpetas.cola, "Cancelar.xml");
    const std::string destino = Unir_Ruta(carpetas.cola, "Factura A Folio 1500.txt");
    Escribir_Archivo(cancelar, "viejo");
    Escribir_Archivo(destino, "viejo");
    Poner_Solo_Lectura(destino);
    const std::string cancelacion = Unir_Ruta(carpetas.cola, "Cancelar_A1400.xml");
    Escribir_Archivo(cancelacion, "RFC|UUID");
    std::string mostrado;
    Estado_Generacion_Actual().Mostrar_Archivo = [&](const std::string& n) { mostrado = n; };

    const auto solicitud = Solicitud_Cargada({{"Nombre", "'NUÑEZ € Ω'"}});
    const Archivo_Encolado archivo = Crear_Archivo_para_Timbrar(solicitud, "A", 1500);

    EXPECT_EQ(archivo.Archivo, "Factura A Folio 1500");
    EXPECT_EQ(archivo.Ruta_Archivo, carpetas.validas);
    EXPECT_EQ(archivo.Ruta_Cola, destino);
    EXPECT_EQ(mostrado, "Factura A Folio 1500.txt");
    EXPECT_FALSE(Existe_Archivo(cancelar));
    EXPECT_TRUE(Existe_Archivo(cancelacion));  // a real cancellation request stays
    const std::string bytes = Leer_Archivo(destino);
    EXPECT_EQ(bytes.substr(0, 15), "[Comprobante]\r\n");
    EXPECT_NE(bytes.find("\r\nNombre=NU\xD1"
                         "EZ \x80 ?\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("\r\nFecha=2026-12-05T10:15:40\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");
    EXPECT_TRUE(Solo_Lectura(destino));
    // Nothing left in the program folder but the branch's folders, nor half copies in the queue.
    EXPECT_EQ(Archivos_En(entorno.Carpeta()), 1u);
    EXPECT_EQ(Archivos_En(carpetas.cola), 2u);
    EXPECT_TRUE(entorno.operador.mostrados.empty());
}

// A branch whose profile names no queue folder must not get its files at the root.
TEST_F(Cola_Timbrado, SinCarpetaDeColaNoSeEscribeEnLaRaiz) {
    Sembrar_Sucursal(3, "Centro");
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET Ruta_Cola_Facturas = ''");
    Cargar_Datos();
    const auto solicitud = Solicitud_Cargada();
    EXPECT_THROW(Crear_Archivo_para_Timbrar(solicitud, "A", 1500), Error_Archivo_Timbrar);
    EXPECT_FALSE(Existe_Archivo("/Factura A Folio 1500.txt"));

    // A branch with no profile at all: the same.
    Reiniciar_Datos_de_Emision();
    EXPECT_THROW(Crear_Archivo_para_Timbrar(solicitud, "A", 1500), Error_Archivo_Timbrar);
    EXPECT_FALSE(Existe_Archivo("/Factura A Folio 1500.txt"));
}

}  // namespace
}  // namespace facturador::pruebas

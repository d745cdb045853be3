#include <sys/stat.h>

#include <algorithm>

#include "Siembra_Central.h"
#include "generation/Archivo_Timbrar.h"
#include "generation/Cola_Timbrado.h"

namespace facturador::pruebas {
namespace {

class Cola_Timbrado : public Prueba_Central {
  protected:
    Solicitud_Factura Solicitud_Cargada() {
        Cargar_Pendientes();
        return Solicitudes_Pendientes().at(0);
    }
};

// The lines, written here "|"-separated, each ended by CR LF.
std::string Con_CRLF(const std::string& lineas) {
    std::string texto;
    for (size_t inicio = 0, fin; inicio <= lineas.size(); inicio = fin + 1) {
        fin = std::min(lineas.find('|', inicio), lineas.size());
        texto += lineas.substr(inicio, fin - inicio) + "\r\n";
    }
    return texto;
}

// The file waits complete and read-only under its hidden name while the published one is left
// alone; publishing puts it in place at once: its lines byte for byte, in Windows-1252 with
// "?" for what that code page lacks. A stale "Cancelar.xml" goes, and no working copy stays. On
// 100.00 the subtotal is rounded to cents and the tax is the difference.
TEST_F(Cola_Timbrado, ArchivoExactoEnWindows1252SoloLecturaYSinRestos) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro");
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET Estado = 'CDMX', Nro_Interior = 'B', "
        "Colonia = 'Roma', Referencia = 'Entre Jazmín y Azucena'");
    Cargar_Datos();
    const std::string cancelar = Unir_Ruta(carpetas.cola, "Cancelar.xml");
    const std::string destino = Unir_Ruta(carpetas.cola, "Factura A Folio 1500.txt");
    const std::string cancelacion = Unir_Ruta(carpetas.cola, "Cancelar_A1400.xml");
    Escribir_Archivo(cancelar, "viejo");
    Escribir_Archivo(destino, "viejo");
    Poner_Solo_Lectura(destino);
    Escribir_Archivo(cancelacion, "RFC|UUID");

    Sembrar_Solicitud(10);
    Ejecutar_Central(
        "UPDATE Solicitudes_de_Facturas_OL SET Nombre = 'NUÑEZ € Ω', Total = 100, Numero_Exterior "
        "= '12', Numero_Interior = 'Depto 2', Colonia = 'Centro', Ciudad = 'Guadalajara', Estado "
        "= 'Jalisco', Pais = 'México', Referencia = 'no se escribe'");
    const auto archivo = Crear_Archivo_para_Timbrar(Solicitud_Cargada(), Obtener_Datos_Emision(3),
                                                    "A", 1500, ".oculto");
    EXPECT_EQ(Leer_Archivo(destino), "viejo");
    EXPECT_EQ(Publicar_Archivo(carpetas.cola, archivo.Ruta_Oculta, destino), std::nullopt);

    EXPECT_EQ(Leer_Archivo(destino),
              Con_CRLF("[Comprobante]|Version=4.0|Serie=A|Folio=1500|Fecha=2026-12-05T10:15:40|"
                       "FormaPago=01|CondicionesDePago=Contado|MetodoPago=PUE|SubTotal=86.21|"
                       "Descuento=0.00|Moneda=MXN|TipoCambio=1|Total=100.00|TipoDeComprobante=I|"
                       "Exportacion=01|LugarExpedicion=53100|Confirmacion=||"
                       "[Emisor]|Rfc=ALT150312AB1|Nombre=ANTOJERIA LOS TULIPANES|RegimenFiscal=601|"
                       "Calle=Avenida de los Tulipanes|NoExterior=120|NoInterior=B|Colonia=Roma|"
                       "Localidad=Ciudad de M\xE9xico|Referencia=Entre Jazm\xEDn y Azucena|"
                       "Municipio=Ciudad de M\xE9xico|Estado=CDMX|Pais=M\xE9xico|"
                       "CodigoPostal=06000||"
                       "[Receptor]|Rfc=RALJ900215QW1|Nombre=NU\xD1"
                       "EZ \x80 ?|Calle=Calle Pedro Moreno|NoExterior=12|NoInterior=Depto 2|"
                       "Colonia=Centro|Localidad=Guadalajara|Referencia=|Municipio=|"
                       "Estado=Jalisco|Pais=M\xE9xico|CodigoPostal=44100|"
                       "DomicilioFiscalReceptor=44100|ResidenciaFiscal=|NumRegIdTrib=|"
                       "RegimenFiscalReceptor=612|UsoCFDI=G03||"
                       "[Concepto1]|ClaveProdServ=90101501|Cantidad=1|ClaveUnidad=E48|"
                       "Unidad=No Aplica|Descripcion=CONSUMO Nro. TICKET 4711|ValorUnitario=86.21|"
                       "Importe=86.21|Descuento=0.00|ObjetoImp=02|TrasladoBase1=86.21|"
                       "TrasladoImpuesto1=002|TrasladoTipoFactor1=Tasa|"
                       "TrasladoTasaOCuota1=0.160000|TrasladoImporte1=13.79||"
                       "[Impuestos]|TotalImpuestosRetenidos=|TotalImpuestosTrasladados=13.79|"
                       "TrasladoBase1=86.21|TrasladoImpuesto1=002|TrasladoTipoFactor1=Tasa|"
                       "TrasladoTasaOCuota1=0.160000|TrasladoImporte1=13.79|"));
    EXPECT_FALSE(Existe_Archivo(cancelar));
    EXPECT_TRUE(Existe_Archivo(cancelacion));  // a real cancellation request stays
    struct stat datos {};
    ASSERT_EQ(stat(destino.c_str(), &datos), 0);
    EXPECT_EQ(datos.st_mode & 0222, 0u);
    EXPECT_TRUE(Archivos_en_Carpeta(entorno.Carpeta()).empty());
    EXPECT_EQ(Archivos_en_Carpeta(carpetas.cola).size(), 2u);
    EXPECT_TRUE(entorno.operador.mostrados.empty());
}

// A branch whose profile names no queue folder, or that has no profile, must not get its files
// at the root.
TEST_F(Cola_Timbrado, SinCarpetaDeColaNoSeEscribeEnLaRaiz) {
    Sembrar_Sucursal(3, "Centro");
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET Ruta_Cola_Facturas = ''");
    Cargar_Datos();
    Sembrar_Solicitud(10);
    const auto solicitud = Solicitud_Cargada();
    EXPECT_THROW(Crear_Archivo_para_Timbrar(solicitud, Obtener_Datos_Emision(3), "A", 1500, ".o"),
                 Error_Archivo_Timbrar);
    EXPECT_THROW(Crear_Archivo_para_Timbrar(solicitud, Datos_Emision{}, "A", 1500, ".o"),
                 Error_Archivo_Timbrar);
    EXPECT_FALSE(Existe_Archivo("/Factura A Folio 1500.txt"));
    EXPECT_TRUE(Archivos_en_Carpeta(entorno.Carpeta()).empty());
}

// A line break or other control character in any value becomes a blank: no value adds a line. The
// tax is what the subtotal, rounded to cents, leaves of the total (16.06 here, not 16.07).
TEST(Archivo_para_Timbrar, UnValorNoAgregaLineasYElIvaEsLoQueFaltaAlTotal) {
    Solicitud_Factura solicitud;
    solicitud.Total = 116.47;
    solicitud.Nombre = "X\r\nTotal=0.01";
    Datos_Emision emisor;
    emisor.Razon_Social_Emisor = "A\n\n[Receptor]\x1f";
    const std::string texto = Texto_para_Timbrar(solicitud, emisor, "A", 1, "2026-12-05T10:15:40");
    EXPECT_EQ(std::count(texto.begin(), texto.end(), '\n'), 77);
    EXPECT_NE(texto.find("\r\nNombre=X  Total=0.01\r\n"), std::string::npos);
    EXPECT_NE(texto.find("\r\nNombre=A  [Receptor] \r\n"), std::string::npos);
    EXPECT_NE(texto.find("\r\nSubTotal=100.41\r\n"), std::string::npos);
    EXPECT_EQ(Veces(texto, "Importe1=16.06\r\n"), 2);
}

}  // namespace
}  // namespace facturador::pruebas

#include <algorithm>

#include "Siembra_Central.h"
#include "apoyo/Proxy_Central.h"
#include "apoyo/Vecino_Hostil.h"
#include "generation/Archivo_Timbrar.h"
#include "generation/Cola_Timbrado.h"
#include "generation/Recuperacion_Cola.h"
#include "generation/Reencolado.h"

namespace facturador::pruebas {
namespace {

using Nombres = std::vector<std::string>;

class Recuperacion_Cola : public Prueba_Central {
  protected:
    static Nombres En(const std::string& carpeta) { return Archivos_Ordenados(carpeta); }
    static void Recuperar() { En_Central(Recuperar_Archivos_en_Cola); }
};

// A COMMIT with no answer leaves the file waiting. The next pass reads the request back: not
// committed, the file goes and the request is sent again, same folio; committed, it is published.
TEST_F(Recuperacion_Cola, ConfirmacionSinRespuestaQuedaALaRecuperacion) {
    const auto c = Sembrar_Solicitud_10("1000");
    const auto pase_cortado = [&](Proxy_Central::Corte corte) {
        const Proxy_Central proxy("COMMIT", corte);
        Ejecutar_Pase();
        EXPECT_TRUE(proxy.Cortado());
    };

    pase_cortado(Proxy_Central::Corte::Antes_de_Ejecutar);
    EXPECT_EQ(En(c.cola), Nombres{".Factura A Folio 1500.txt.10.turno1.pendiente"});
    EXPECT_EQ(Solicitud(10, "Status") + Folio_Siguiente(3) + Facturas(), "115000");
    Ejecutar_Pase();
    EXPECT_EQ(En(c.cola), Nombres{"Factura A Folio 1500.txt"});
    EXPECT_EQ(Solicitud(10, "CONCAT(Status, '/', Folio)"), "2/1500");

    Sembrar_Solicitud(11);
    pase_cortado(Proxy_Central::Corte::Sin_Respuesta);
    EXPECT_EQ(Solicitud(11, "CONCAT(Status, '/', Folio)"), "2/1501");
    EXPECT_EQ(En(c.cola), (Nombres{".Factura A Folio 1501.txt.11.turno1.pendiente",
                                   "Factura A Folio 1500.txt"}));
    Ejecutar_Pase();
    EXPECT_EQ(En(c.cola), (Nombres{"Factura A Folio 1500.txt", "Factura A Folio 1501.txt"}));
    EXPECT_EQ(Facturas(), "2");
    EXPECT_EQ(Folio_Siguiente(3), "1502");

    const std::string log = Leer_Log();
    EXPECT_TRUE(
        Una_Vez(log, "Solicitud ID: 10 - Se descartó el archivo para timbrar " +
                         Unir_Ruta(c.cola, ".Factura A Folio 1500.txt.10.turno1.pendiente")));
    EXPECT_TRUE(Una_Vez(log, "Solicitud ID: 11 - Se puso en la cola el archivo para timbrar " +
                                 Unir_Ruta(c.cola, "Factura A Folio 1501.txt")));
    EXPECT_EQ(entorno.operador.De_Tipo("estandar").size(), 2u);  // each broken pass was told
}

// A waiting file is published if its request is committed in status 2 naming it, else removed,
// unless of a later epoch (its unit may be open); an unreadable folder or name is told once.
TEST_F(Recuperacion_Cola, CadaTemporalSigueASuSolicitud) {
    const auto c3 = Sembrar_Sucursal(3, "Centro", "A", 1500);
    const auto c4 = Sembrar_Sucursal(4, "Norte", "B", 1, false);
    const auto c5 = Sembrar_Sucursal(5, "Sur", "A", 1);
    Sembrar_Solicitud(10, {{"Status", "2"}, {"Archivo", "'Factura A Folio 7'"}});
    Sembrar_Solicitud(11, {{"Status", "1"}});
    Sembrar_Solicitud(12, {{"Status", "2"}, {"Archivo", "'Factura A Folio 99'"}});
    Sembrar_Solicitud(13,
                      {{"Status", "2"}, {"Archivo", "'Factura A Folio 9'"}, {"ID_Sucursal", "5"}});
    Sembrar_Solicitud(15, {{"Status", "3"}, {"Archivo", "'Factura A Folio 12'"}});
    for (const char* nombre :
         {".Factura A Folio 7.txt.10.pendiente", ".Factura A Folio 8.txt.11.pendiente",
          ".Factura A Folio 9.txt.12.pendiente", ".Factura A Folio 9.txt.13.pendiente",
          ".Factura A Folio 10.txt.14.pendiente", ".Factura A Folio 12.txt.15.pendiente",
          ".Factura A Folio 11.txt.copiando", ".notas", "Cancelar_A1.xml", ".14.pendiente",
          ".Factura A Folio 13.txt.11.turno2.pendiente"})
        Escribir_Archivo(Unir_Ruta(c3.cola, nombre), "x");
    Escribir_Archivo(Unir_Ruta(c5.cola, ".Factura A Folio 9.txt.13.pendiente"), "x");
    const std::string publicado = Unir_Ruta(c3.cola, "Factura A Folio 7.txt");
    std::filesystem::create_directory(publicado);  // nothing can be renamed onto it
    Cargar_Datos();

    Recuperar();
    Recuperar();
    const std::string mas_reciente = ".Factura A Folio 13.txt.11.turno2.pendiente";
    EXPECT_EQ(En(c3.cola),
              (Nombres{".14.pendiente", mas_reciente, ".Factura A Folio 7.txt.10.pendiente",
                       ".notas", "Cancelar_A1.xml"}));
    EXPECT_EQ(En(c5.cola), Nombres{"Factura A Folio 9.txt"});
    EXPECT_EQ(Estado_Generacion_Actual().Temporales_en_Cola.count(publicado), 1u);
    const std::string log = Leer_Log();
    EXPECT_TRUE(Una_Vez(log, "No se pudo revisar la carpeta de cola " + c4.cola + ": "));
    EXPECT_TRUE(Una_Vez(
        log,
        "Solicitud ID: 10 - No se pudo poner en la cola el archivo para timbrar " + publicado));
    EXPECT_EQ(Veces(log, "Se descartó el archivo para timbrar"), 5);

    std::filesystem::remove(publicado);
    Recuperar();
    EXPECT_EQ(En(c3.cola), (Nombres{".14.pendiente", mas_reciente, ".notas", "Cancelar_A1.xml",
                                    "Factura A Folio 7.txt"}));
    EXPECT_TRUE(Estado_Generacion_Actual().Temporales_en_Cola.empty());
}

// A file already published by the copy that took over is no failure; a missing queue folder is.
TEST_F(Recuperacion_Cola, UnArchivoYaPublicadoPorOtraCopiaNoEsFalla) {
    const auto c = Sembrar_Sucursal(3, "Centro");
    const std::string cola = Unir_Ruta(c.cola, "Factura A Folio 1500.txt");
    const std::string oculta = Unir_Ruta(c.cola, ".Factura A Folio 1500.txt.10.turno1.pendiente");
    Escribir_Archivo(cola, "publicado por la otra copia");
    EXPECT_FALSE(Publicar_o_Esperar(c.cola, oculta, cola));
    EXPECT_EQ(Archivos_en_Carpeta(c.cola), Nombres{"Factura A Folio 1500.txt"});
    EXPECT_TRUE(Estado_Generacion_Actual().Temporales_en_Cola.empty());

    const std::string sin_carpeta = Unir_Ruta(entorno.Carpeta(), "no_esta");
    EXPECT_TRUE(Publicar_o_Esperar(sin_carpeta, Unir_Ruta(sin_carpeta, ".x.1.turno1.pendiente"),
                                   Unir_Ruta(sin_carpeta, "x")));
}

using Reencolado = Prueba_Central;

// A request in status 2 gets its file again, same series and folio, only when nothing of it is
// anywhere; each refusal says why. The file waits as a committed one does, for recovery.
TEST_F(Reencolado, SoloCuandoNadaDeLaSolicitudQuedaEnNingunaCarpeta) {
    const auto c = Sembrar_Sucursal(3, "Centro", "B", 90);
    Sembrar_Solicitud(194, kEn_Cola_B65);
    Columnas otro_archivo = kEn_Cola_B65;
    otro_archivo["Archivo"] = "'Factura B Folio 66'";
    Sembrar_Solicitud(196, otro_archivo);

    const std::string cola = Unir_Ruta(c.cola, "Factura B Folio 65.txt");
    const auto hecho = Reencolar_Solicitud(194);
    EXPECT_TRUE(hecho.Hecho);
    EXPECT_EQ(hecho.Mensaje, "Solicitud ID: 194 - Se escribió de nuevo el archivo para timbrar " +
                                 cola + "; la copia que trabaja lo pone en la cola.");
    EXPECT_TRUE(Contiene(Leer_Log(), hecho.Mensaje));
    const std::string en_espera = Unir_Ruta(c.cola, ".Factura B Folio 65.txt.194.turno1.pendiente");
    EXPECT_EQ(Archivos_en_Carpeta(c.cola), Nombres{".Factura B Folio 65.txt.194.turno1.pendiente"});
    const std::string no = "Solicitud ID: 194 - No se reencola: ya existe ";
    EXPECT_EQ(Reencolar_Solicitud(194).Mensaje, no + en_espera + ".");
    Cargar_Datos();
    Recuperar_Cola_al_Arrancar();
    EXPECT_TRUE(Contiene(Leer_Archivo(cola), "\r\nSerie=B\r\nFolio=65\r\n"));
    EXPECT_EQ(Archivos_en_Carpeta(c.cola).size(), 1u);
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
    EXPECT_EQ(Reencolar_Solicitud(196).Mensaje,
              "Solicitud ID: 196 - No se reencola: su Archivo \"Factura B Folio 66\" no "
              "corresponde a su Serie y Folio.");
    // A branch the worker holds gets no file either.
    Ejecutar_Central("INSERT INTO Zonas_Horarias_Sucursales VALUES (3, 'Europe/Madrid')");
    EXPECT_EQ(Reencolar_Solicitud(194).Mensaje,
              "Solicitud ID: 194 - No se reencola: la sucursal 3 no emite facturas mientras tenga "
              "este error: la zona horaria \"Europe/Madrid\" de Zonas_Horarias_Sucursales no es "
              "una zona horaria de Estado de México (America/Mexico_City).");
    EXPECT_TRUE(Archivos_en_Carpeta(c.cola).empty());
}

class Cola_Timbrado : public Prueba_Central {
  protected:
    Solicitud_Factura Solicitud_Cargada() {
        Cargar_Pendientes();
        return Solicitudes_Pendientes().at(0);
    }
};

// The "|"-separated lines, each ended by CR LF.
std::string Con_CRLF(const std::string& lineas) {
    std::string texto;
    for (size_t inicio = 0, fin; inicio <= lineas.size(); inicio = fin + 1) {
        fin = std::min(lineas.find('|', inicio), lineas.size());
        texto += lineas.substr(inicio, fin - inicio) + "\r\n";
    }
    return texto;
}

// The file waits read-only and hidden, the published one untouched, until publishing puts it in
// place byte for byte, Windows-1252 with "?" for what it lacks; a stale "Cancelar.xml" goes.
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
    EXPECT_EQ(std::filesystem::status(destino).permissions() & std::filesystem::perms(0222),
              std::filesystem::perms::none);
    EXPECT_TRUE(Archivos_en_Carpeta(entorno.Carpeta()).empty());
    EXPECT_EQ(Archivos_en_Carpeta(carpetas.cola).size(), 2u);
    EXPECT_TRUE(entorno.operador.mostrados.empty());
}

// No queue folder in the profile, no profile, or a folder climbing out with "..": nothing at root.
TEST_F(Cola_Timbrado, SinCarpetaDeColaNoSeEscribeEnLaRaiz) {
    const auto c = Sembrar_Sucursal(3, "Centro");
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET Ruta_Cola_Facturas = ''");
    Cargar_Datos();
    Sembrar_Solicitud(10);
    const auto solicitud = Solicitud_Cargada();
    const auto falla = [&](const Datos_Emision& datos) -> std::string {
        try {
            Crear_Archivo_para_Timbrar(solicitud, datos, "A", 1500, ".o");
        } catch (const Error_Archivo_Timbrar& e) {
            return e.what();
        }
        return "se escribió";
    };
    const std::string sin_cola = "La sucursal 3 no tiene carpeta de cola de facturas";
    EXPECT_TRUE(Contiene(falla(Obtener_Datos_Emision(3)), sin_cola));
    EXPECT_TRUE(Contiene(falla(Datos_Emision{}), sin_cola));
    Datos_Emision que_sube = Obtener_Datos_Emision(3);
    que_sube.Ruta_Cola_Facturas = c.cola + "/../cola";
    EXPECT_TRUE(Contiene(falla(que_sube), "La sucursal 3 tiene una carpeta de cola de facturas que "
                                          "sube de carpeta con '..'"));
    EXPECT_FALSE(Existe_Archivo("/Factura A Folio 1500.txt"));
    EXPECT_TRUE(Archivos_en_Carpeta(entorno.Carpeta()).empty());
}

// Links a member of the folders' group races onto both names of the file are never followed.
TEST_F(Cola_Timbrado, UnEnlaceEnCarreraEnSusNombresNuncaSeSigue) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro");
    Cargar_Datos();
    Sembrar_Solicitud(10);
    const auto solicitud = Solicitud_Cargada();
    Carpeta_Temporal ajena;
    const std::string victima = Unir_Ruta(ajena.Ruta(), "victima.txt");
    Escribir_Archivo(victima, "intacto");
    const auto crear = [&] {
        Crear_Archivo_para_Timbrar(solicitud, Obtener_Datos_Emision(3), "A", 1500,
                                   ".Factura A Folio 1500.txt.10.pendiente");
    };
    Con_Enlaces_en_Carrera({Unir_Ruta(carpetas.cola, ".Factura A Folio 1500.txt.10.pendiente"),
                            Unir_Ruta(entorno.Carpeta(), "_10_15_40_Factura A Folio 1500.txt")},
                           victima, [&] {
                               for (int i = 0; i < 200; ++i)
                                   try {
                                       crear();
                                   } catch (const Error_Archivo_Timbrar&) {
                                   }
                           });
    // How many tries get through depends on the load; once the neighbour stops, creation works.
    EXPECT_NO_THROW(crear());
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(
        Unir_Ruta(carpetas.cola, ".Factura A Folio 1500.txt.10.pendiente"))));
    EXPECT_EQ(Leer_Archivo(victima), "intacto");
}

// A control character in any value becomes a blank: no value adds a line. The tax is what the
// subtotal, rounded to cents, leaves of the total (16.06 here, not 16.07).
TEST(Archivo_para_Timbrar, UnValorNoAgregaLineasYElIvaEsLoQueFaltaAlTotal) {
    Solicitud_Factura solicitud;
    solicitud.Total = 116.47;
    solicitud.Metodo = "99";  // as a request that named no payment form loads
    solicitud.Direccion = "X\r\nTotal=0.01";
    Datos_Emision emisor;
    emisor.Calle = "A\n\n[Receptor]\x1f";
    const std::string texto = Texto_para_Timbrar(solicitud, emisor, "A", 1, "2026-12-05T10:15:40");
    EXPECT_EQ(std::count(texto.begin(), texto.end(), '\n'), 77);
    EXPECT_TRUE(Contiene(texto, "\r\nCalle=X  Total=0.01\r\n"));
    EXPECT_TRUE(Contiene(texto, "\r\nCalle=A  [Receptor] \r\n"));
    EXPECT_TRUE(Contiene(texto, "\r\nSubTotal=100.41\r\n"));
    EXPECT_TRUE(Contiene(texto, "\r\nFormaPago=99\r\n"));
    EXPECT_EQ(Veces(texto, "Importe1=16.06\r\n"), 2);
}

}  // namespace
}  // namespace facturador::pruebas

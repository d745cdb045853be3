#include <gtest/gtest.h>

#include "generation/Archivo_Timbrar.h"

namespace facturador {
namespace {

Solicitud_Factura Solicitud_Ejemplo() {
    Solicitud_Factura s;
    s.Nombre = "ANA SOFÍA NUÑEZ";
    s.Direccion = "Calle 5 de Mayo";
    s.Numero_Exterior = "12";
    s.Numero_Interior = "Depto 2";
    s.Colonia = "Centro";
    s.Ciudad = "Puebla";
    s.Estado = "Puebla";
    s.Codigo_Postal = "72000";
    s.Pais = "México";
    s.Referencia = "no se escribe";
    s.RFC = "TONA950620LM2";
    s.Regimen_Fiscal = "605";
    s.Nro_Ticket = 3001;
    s.Total = 116;
    s.Metodo = "99";
    s.Uso = "S01";
    return s;
}

Datos_Emision Emisor_Ejemplo() {
    Datos_Emision e;
    e.RFC_Emisor = "ALT150312AB1";
    e.Razon_Social_Emisor = "ANTOJERIA LOS TULIPANES";
    e.Regimen_Fiscal_Facturas = "601";
    e.Calle = "Avenida de los Tulipanes";
    e.Nro_Exterior = "120";
    e.Colonia = "Centro";
    e.Ciudad = "Ciudad de México";
    e.Referencia = "Entre Jazmín y Azucena";
    e.Estado = "CDMX";
    e.Pais = "México";
    e.CP = "06000";
    e.CP_Domicilio_Expedicion = "53100";
    return e;
}

std::string Con_CRLF(std::initializer_list<const char*> lineas) {
    std::string texto;
    for (const char* linea : lineas)
        texto += std::string(linea) + "\r\n";
    return texto;
}

TEST(Archivo_Timbrar, LasSetentaYSieteLineasEnSuOrden) {
    const std::string esperado = Con_CRLF({"[Comprobante]",
                                           "Version=4.0",
                                           "Serie=C",
                                           "Folio=1501",
                                           "Fecha=2026-12-02T23:59:50",
                                           "FormaPago=99",
                                           "CondicionesDePago=Contado",
                                           "MetodoPago=PUE",
                                           "SubTotal=100.00",
                                           "Descuento=0.00",
                                           "Moneda=MXN",
                                           "TipoCambio=1",
                                           "Total=116.00",
                                           "TipoDeComprobante=I",
                                           "Exportacion=01",
                                           "LugarExpedicion=53100",
                                           "Confirmacion=",
                                           "",
                                           "[Emisor]",
                                           "Rfc=ALT150312AB1",
                                           "Nombre=ANTOJERIA LOS TULIPANES",
                                           "RegimenFiscal=601",
                                           "Calle=Avenida de los Tulipanes",
                                           "NoExterior=120",
                                           "NoInterior=",
                                           "Colonia=Centro",
                                           "Localidad=Ciudad de México",
                                           "Referencia=Entre Jazmín y Azucena",
                                           "Municipio=Ciudad de México",
                                           "Estado=CDMX",
                                           "Pais=México",
                                           "CodigoPostal=06000",
                                           "",
                                           "[Receptor]",
                                           "Rfc=TONA950620LM2",
                                           "Nombre=ANA SOFÍA NUÑEZ",
                                           "Calle=Calle 5 de Mayo",
                                           "NoExterior=12",
                                           "NoInterior=Depto 2",
                                           "Colonia=Centro",
                                           "Localidad=Puebla",
                                           "Referencia=",
                                           "Municipio=",
                                           "Estado=Puebla",
                                           "Pais=México",
                                           "CodigoPostal=72000",
                                           "DomicilioFiscalReceptor=72000",
                                           "ResidenciaFiscal=",
                                           "NumRegIdTrib=",
                                           "RegimenFiscalReceptor=605",
                                           "UsoCFDI=S01",
                                           "",
                                           "[Concepto1]",
                                           "ClaveProdServ=90101501",
                                           "Cantidad=1",
                                           "ClaveUnidad=E48",
                                           "Unidad=No Aplica",
                                           "Descripcion=CONSUMO Nro. TICKET 3001",
                                           "ValorUnitario=100.00",
                                           "Importe=100.00",
                                           "Descuento=0.00",
                                           "ObjetoImp=02",
                                           "TrasladoBase1=100.00",
                                           "TrasladoImpuesto1=002",
                                           "TrasladoTipoFactor1=Tasa",
                                           "TrasladoTasaOCuota1=0.160000",
                                           "TrasladoImporte1=16.00",
                                           "",
                                           "[Impuestos]",
                                           "TotalImpuestosRetenidos=",
                                           "TotalImpuestosTrasladados=16.00",
                                           "TrasladoBase1=100.00",
                                           "TrasladoImpuesto1=002",
                                           "TrasladoTipoFactor1=Tasa",
                                           "TrasladoTasaOCuota1=0.160000",
                                           "TrasladoImporte1=16.00",
                                           ""});
    const std::string texto =
        Texto_para_Timbrar(Solicitud_Ejemplo(), Emisor_Ejemplo(), "C", 1501, "2026-12-02T23:59:50");
    EXPECT_EQ(texto, esperado);
    size_t lineas = 0;
    for (size_t i = texto.find("\r\n"); i != std::string::npos; i = texto.find("\r\n", i + 2))
        ++lineas;
    EXPECT_EQ(lineas, 77u);
}

TEST(Archivo_Timbrar, SubtotalRedondeadoYElImpuestoDeLaDiferencia) {
    Solicitud_Factura s = Solicitud_Ejemplo();
    s.Total = 100;
    const std::string texto = Texto_para_Timbrar(s, Emisor_Ejemplo(), "C", 1, "");
    for (const char* linea : {"\r\nSubTotal=86.21\r\n", "\r\nTotal=100.00\r\n",
                              "\r\nImporte=86.21\r\n", "\r\nTotalImpuestosTrasladados=13.79\r\n"})
        EXPECT_NE(texto.find(linea), std::string::npos) << linea;
}

}  // namespace
}  // namespace facturador

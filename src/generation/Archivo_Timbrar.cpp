#include "generation/Archivo_Timbrar.h"

#include <initializer_list>

#include "data/Formatos_Importe.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr double kFactor_IVA = 1.16;

// Each line ends with CR LF, and only there: a value holding a line break or any other control
// character gets a blank in its place, so it can never add a key or a section of its own.
std::string Lineas(std::initializer_list<std::string> lineas) {
    std::string texto;
    for (const std::string& linea : lineas)
        texto += Sin_Controles(linea) + "\r\n";
    return texto;
}

std::string Comprobante(const Solicitud_Factura& s, const Datos_Emision& e,
                        const std::string& serie, int32_t folio, const std::string& fecha,
                        double subtotal) {
    return Lineas(
        {"[Comprobante]", "Version=4.0", "Serie=" + serie, "Folio=" + std::to_string(folio),
         "Fecha=" + fecha, "FormaPago=" + s.Metodo, "CondicionesDePago=Contado", "MetodoPago=PUE",
         "SubTotal=" + Formato_Importe_Archivo(subtotal), "Descuento=0.00", "Moneda=MXN",
         "TipoCambio=1", "Total=" + Formato_Importe_Archivo(s.Total), "TipoDeComprobante=I",
         "Exportacion=01", "LugarExpedicion=" + e.CP_Domicilio_Expedicion, "Confirmacion=", ""});
}

// The issuer's fiscal address; the city is both locality and municipality.
std::string Emisor(const Datos_Emision& e) {
    return Lineas({"[Emisor]", "Rfc=" + e.RFC_Emisor, "Nombre=" + e.Razon_Social_Emisor,
                   "RegimenFiscal=" + e.Regimen_Fiscal_Facturas, "Calle=" + e.Calle,
                   "NoExterior=" + e.Nro_Exterior, "NoInterior=" + e.Nro_Interior,
                   "Colonia=" + e.Colonia, "Localidad=" + e.Ciudad, "Referencia=" + e.Referencia,
                   "Municipio=" + e.Ciudad, "Estado=" + e.Estado, "Pais=" + e.Pais,
                   "CodigoPostal=" + e.CP, ""});
}

// The receiver's postal code is also its fiscal domicile. Its codes go as the fiscal check read
// them, so a padded or lower-case RFC that passed it is not refused by the stamping program.
std::string Receptor(const Solicitud_Factura& s) {
    const std::string cp = Forma_Fiscal(s.Codigo_Postal);
    return Lineas({"[Receptor]", "Rfc=" + Forma_Fiscal(s.RFC), "Nombre=" + s.Nombre,
                   "Calle=" + s.Direccion,
                   "NoExterior=" + s.Numero_Exterior, "NoInterior=" + s.Numero_Interior,
                   "Colonia=" + s.Colonia, "Localidad=" + s.Ciudad,
                   "Referencia=", "Municipio=", "Estado=" + s.Estado, "Pais=" + s.Pais,
                   "CodigoPostal=" + cp, "DomicilioFiscalReceptor=" + cp, "ResidenciaFiscal=",
                   "NumRegIdTrib=", "RegimenFiscalReceptor=" + Forma_Fiscal(s.Regimen_Fiscal),
                   "UsoCFDI=" + Forma_Fiscal(s.Uso), ""});
}

std::string Traslado_IVA(const std::string& base, const std::string& iva) {
    return Lineas({"TrasladoBase1=" + base, "TrasladoImpuesto1=002", "TrasladoTipoFactor1=Tasa",
                   "TrasladoTasaOCuota1=0.160000", "TrasladoImporte1=" + iva});
}

// The ticket's consumption as the only concept.
std::string Concepto(const Solicitud_Factura& s, const std::string& base, const std::string& iva) {
    return Lineas({"[Concepto1]", "ClaveProdServ=90101501", "Cantidad=1", "ClaveUnidad=E48",
                   "Unidad=No Aplica",
                   "Descripcion=CONSUMO Nro. TICKET " + std::to_string(s.Nro_Ticket),
                   "ValorUnitario=" + base, "Importe=" + base, "Descuento=0.00", "ObjetoImp=02"}) +
           Traslado_IVA(base, iva) + Lineas({""});
}

std::string Impuestos(const std::string& base, const std::string& iva) {
    return Lineas({"[Impuestos]", "TotalImpuestosRetenidos=", "TotalImpuestosTrasladados=" + iva}) +
           Traslado_IVA(base, iva) + Lineas({""});
}

}  // namespace

std::string Texto_para_Timbrar(const Solicitud_Factura& solicitud, const Datos_Emision& emisor,
                               const std::string& serie, int32_t folio, const std::string& fecha) {
    // The subtotal is the total without IVA, in whole cents; the tax is what remains.
    const double subtotal = Redondear_Centavos(solicitud.Total / kFactor_IVA);
    const std::string base = Formato_Importe_Archivo(subtotal);
    const std::string iva = Formato_Importe_Archivo(solicitud.Total - subtotal);
    return Comprobante(solicitud, emisor, serie, folio, fecha, subtotal) + Emisor(emisor) +
           Receptor(solicitud) + Concepto(solicitud, base, iva) + Impuestos(base, iva);
}

}  // namespace facturador

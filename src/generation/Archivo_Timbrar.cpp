#include "generation/Archivo_Timbrar.h"

#include <charconv>
#include <initializer_list>
#include <utility>

#include "data/Formatos_Importe.h"
#include "generation/Validacion_Fiscal.h"
#include "issuing_config/Validacion_Perfil.h"
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

// The fiscal values go in the form their checks accepted (Receptor_Verificado,
// Emisor_Verificado), so the stamping program reads exactly what was checked.
std::string Comprobante(const Receptor_Verificado& r, const std::string& serie, int32_t folio,
                        const std::string& fecha, const Importes_Archivo& importes) {
    return Lineas({"[Comprobante]", "Version=4.0", "Serie=" + serie,
                   "Folio=" + std::to_string(folio), "Fecha=" + fecha, "FormaPago=" + r.Forma_Pago,
                   "CondicionesDePago=Contado", "MetodoPago=PUE", "SubTotal=" + importes.Subtotal,
                   "Descuento=0.00", "Moneda=MXN", "TipoCambio=1", "Total=" + importes.Total,
                   "TipoDeComprobante=I", "Exportacion=01", "LugarExpedicion=" + r.Lugar_Expedicion,
                   "Confirmacion=", ""});
}

// The issuer's fiscal address; the city is both locality and municipality.
std::string Emisor(const Datos_Emision& e) {
    const Emisor_Verificado v = Forma_Emisor(e);
    return Lineas({"[Emisor]", "Rfc=" + v.RFC, "Nombre=" + v.Nombre, "RegimenFiscal=" + v.Regimen,
                   "Calle=" + e.Calle, "NoExterior=" + e.Nro_Exterior,
                   "NoInterior=" + e.Nro_Interior, "Colonia=" + e.Colonia, "Localidad=" + e.Ciudad,
                   "Referencia=" + e.Referencia, "Municipio=" + e.Ciudad, "Estado=" + e.Estado,
                   "Pais=" + e.Pais, "CodigoPostal=" + e.CP, ""});
}

// The receiver's postal code is also its fiscal domicile.
std::string Receptor(const Solicitud_Factura& s, const Receptor_Verificado& r) {
    return Lineas({"[Receptor]", "Rfc=" + r.RFC, "Nombre=" + r.Nombre, "Calle=" + s.Direccion,
                   "NoExterior=" + s.Numero_Exterior, "NoInterior=" + s.Numero_Interior,
                   "Colonia=" + s.Colonia, "Localidad=" + s.Ciudad,
                   "Referencia=", "Municipio=", "Estado=" + s.Estado, "Pais=" + s.Pais,
                   "CodigoPostal=" + r.Codigo_Postal, "DomicilioFiscalReceptor=" + r.Codigo_Postal,
                   "ResidenciaFiscal=", "NumRegIdTrib=", "RegimenFiscalReceptor=" + r.Regimen,
                   "UsoCFDI=" + r.Uso, ""});
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

Importes_Archivo Importes_para_Timbrar(double total) {
    // The subtotal is the total without IVA, in whole cents; the tax is what remains.
    std::string subtotal = Formato_Importe_Archivo(total / kFactor_IVA);
    double base = 0;
    std::from_chars(subtotal.data(), subtotal.data() + subtotal.size(), base);
    return {std::move(subtotal), Formato_Importe_Archivo(total - base),
            Formato_Importe_Archivo(total)};
}

std::string Texto_para_Timbrar(const Solicitud_Factura& solicitud, const Datos_Emision& emisor,
                               const std::string& serie, int32_t folio, const std::string& fecha) {
    const Importes_Archivo importes = Importes_para_Timbrar(solicitud.Total);
    const Receptor_Verificado receptor =
        Forma_Receptor(Datos_Fiscales_de(solicitud, emisor.CP_Domicilio_Expedicion));
    return Comprobante(receptor, serie, folio, fecha, importes) + Emisor(emisor) +
           Receptor(solicitud, receptor) + Concepto(solicitud, importes.Subtotal, importes.IVA) +
           Impuestos(importes.Subtotal, importes.IVA);
}

}  // namespace facturador

#include "Comprobante_XML.h"

#include <vector>

#include "data/Valores_Campo.h"

namespace timbrador {

namespace {

constexpr const char* kFin = "\r\n";

// When an attribute is written.
enum class Presencia { Siempre, Si_Hay_Valor, Si_No_Es_Cero };

struct Atributo {
    const char* nombre;
    std::string valor;
    Presencia presencia = Presencia::Siempre;
};

constexpr Presencia kSi_Hay = Presencia::Si_Hay_Valor;
constexpr Presencia kSi_No_Es_Cero = Presencia::Si_No_Es_Cero;

std::string Escapar(const std::string& valor) {
    std::string r;
    for (char c : valor) {
        switch (c) {
            case '&':
                r += "&amp;";
                break;
            case '<':
                r += "&lt;";
                break;
            case '>':
                r += "&gt;";
                break;
            case '"':
                r += "&quot;";
                break;
            case '\'':
                r += "&apos;";
                break;
            default:
                r += c;
        }
    }
    return r;
}

bool Omitible(const Atributo& a) {
    switch (a.presencia) {
        case Presencia::Siempre:
            return false;
        case Presencia::Si_Hay_Valor:
            return a.valor.empty();
        case Presencia::Si_No_Es_Cero:
            return facturador::Leer_Numero(a.valor).value_or(0.0) == 0.0;
    }
    return false;
}

// "<name a="..." b="...">" (or "/>" when it has no children) on one line of the given level.
std::string Linea(int nivel, const std::string& nombre, const std::vector<Atributo>& atributos,
                  bool vacio) {
    std::string linea(2 * nivel, ' ');
    linea += "<" + nombre;
    for (const Atributo& a : atributos)
        if (!Omitible(a))
            linea += std::string(" ") + a.nombre + "=\"" + Escapar(a.valor) + "\"";
    linea += vacio ? " />" : ">";
    return linea + kFin;
}

std::string Cierre(int nivel, const std::string& nombre) {
    return std::string(2 * nivel, ' ') + "</" + nombre + ">" + kFin;
}

// cfdi:Traslados with its cfdi:Traslado lines; nothing when there are none.
std::string Traslados(int nivel, const std::vector<Traslado>& traslados) {
    if (traslados.empty())
        return "";
    std::string xml = Linea(nivel, "cfdi:Traslados", {}, false);
    for (const Traslado& t : traslados)
        xml += Linea(nivel + 1, "cfdi:Traslado",
                     {{"Base", t.base},
                      {"Impuesto", t.impuesto},
                      {"TipoFactor", t.tipo_factor},
                      {"TasaOCuota", t.tasa_o_cuota},
                      {"Importe", t.importe}},
                     true);
    return xml + Cierre(nivel, "cfdi:Traslados");
}

std::string Comprobante(const Archivo_para_Timbrar& a, const Timbre& t) {
    const auto v = [&](const char* clave) { return a.Valor("Comprobante", clave); };
    return Linea(0, "cfdi:Comprobante",
                 {{"xmlns:cfdi", "http://www.sat.gob.mx/cfd/4"},
                  {"xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance"},
                  {"xsi:schemaLocation",
                   "http://www.sat.gob.mx/cfd/4 "
                   "http://www.sat.gob.mx/sitio_internet/cfd/4/cfdv40.xsd"},
                  {"Version", "4.0"},
                  {"Serie", v("Serie"), kSi_Hay},
                  {"Folio", v("Folio"), kSi_Hay},
                  {"Fecha", v("Fecha")},
                  {"Sello", t.sello},
                  {"FormaPago", v("FormaPago")},
                  {"NoCertificado", t.no_certificado},
                  {"Certificado", t.certificado},
                  {"CondicionesDePago", v("CondicionesDePago"), kSi_Hay},
                  {"SubTotal", v("SubTotal")},
                  {"Descuento", v("Descuento"), kSi_No_Es_Cero},
                  {"Moneda", v("Moneda")},
                  {"TipoCambio", v("TipoCambio"), kSi_Hay},
                  {"Total", v("Total")},
                  {"TipoDeComprobante", v("TipoDeComprobante")},
                  {"Exportacion", v("Exportacion")},
                  {"MetodoPago", v("MetodoPago")},
                  {"LugarExpedicion", v("LugarExpedicion")}},
                 false);
}

std::string Emisor_Receptor(const Archivo_para_Timbrar& a) {
    const auto e = [&](const char* clave) { return a.Valor("Emisor", clave); };
    const auto r = [&](const char* clave) { return a.Valor("Receptor", clave); };
    return Linea(
               1, "cfdi:Emisor",
               {{"Rfc", e("Rfc")}, {"Nombre", e("Nombre")}, {"RegimenFiscal", e("RegimenFiscal")}},
               true) +
           Linea(1, "cfdi:Receptor",
                 {{"Rfc", r("Rfc")},
                  {"Nombre", r("Nombre")},
                  {"DomicilioFiscalReceptor", r("DomicilioFiscalReceptor")},
                  {"ResidenciaFiscal", r("ResidenciaFiscal"), kSi_Hay},
                  {"NumRegIdTrib", r("NumRegIdTrib"), kSi_Hay},
                  {"RegimenFiscalReceptor", r("RegimenFiscalReceptor")},
                  {"UsoCFDI", r("UsoCFDI")}},
                 true);
}

std::string Concepto(const Archivo_para_Timbrar& a, const std::string& seccion) {
    const auto c = [&](const char* clave) { return a.Valor(seccion, clave); };
    const std::vector<Traslado> traslados = a.Traslados(seccion);
    std::string xml = Linea(2, "cfdi:Concepto",
                            {{"ClaveProdServ", c("ClaveProdServ")},
                             {"Cantidad", c("Cantidad")},
                             {"ClaveUnidad", c("ClaveUnidad")},
                             {"Unidad", c("Unidad"), kSi_Hay},
                             {"Descripcion", c("Descripcion")},
                             {"ValorUnitario", c("ValorUnitario")},
                             {"Importe", c("Importe")},
                             {"Descuento", c("Descuento"), kSi_No_Es_Cero},
                             {"ObjetoImp", c("ObjetoImp")}},
                            traslados.empty());
    if (traslados.empty())
        return xml;
    xml += Linea(3, "cfdi:Impuestos", {}, false) + Traslados(4, traslados) +
           Cierre(3, "cfdi:Impuestos");
    return xml + Cierre(2, "cfdi:Concepto");
}

std::string Conceptos(const Archivo_para_Timbrar& a) {
    std::string xml = Linea(1, "cfdi:Conceptos", {}, false);
    for (const std::string& seccion : a.Conceptos())
        xml += Concepto(a, seccion);
    return xml + Cierre(1, "cfdi:Conceptos");
}

std::string Impuestos(const Archivo_para_Timbrar& a) {
    const std::vector<Traslado> traslados = a.Traslados("Impuestos");
    if (traslados.empty())
        return "";
    return Linea(1, "cfdi:Impuestos",
                 {{"TotalImpuestosTrasladados", a.Valor("Impuestos", "TotalImpuestosTrasladados")}},
                 false) +
           Traslados(2, traslados) + Cierre(1, "cfdi:Impuestos");
}

std::string Complemento(const Timbre& t) {
    return Linea(1, "cfdi:Complemento", {}, false) +
           Linea(2, "tfd:TimbreFiscalDigital",
                 {{"xmlns:tfd", "http://www.sat.gob.mx/TimbreFiscalDigital"},
                  {"xsi:schemaLocation",
                   "http://www.sat.gob.mx/TimbreFiscalDigital "
                   "http://www.sat.gob.mx/sitio_internet/cfd/TimbreFiscalDigital/"
                   "TimbreFiscalDigitalv11.xsd"},
                  {"Version", "1.1"},
                  {"UUID", t.uuid},
                  {"FechaTimbrado", t.fecha_timbrado},
                  {"RfcProvCertif", t.rfc_prov_certif},
                  {"SelloCFD", t.sello},
                  {"NoCertificadoSAT", t.no_certificado_sat},
                  {"SelloSAT", t.sello_sat}},
                 true) +
           Cierre(1, "cfdi:Complemento");
}

}  // namespace

std::string Comprobante_XML(const Archivo_para_Timbrar& archivo, const Timbre& timbre) {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") + kFin +
           Comprobante(archivo, timbre) + Emisor_Receptor(archivo) + Conceptos(archivo) +
           Impuestos(archivo) + Complemento(timbre) + Cierre(0, "cfdi:Comprobante");
}

}  // namespace timbrador

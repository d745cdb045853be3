#include "Factura_PDF.h"

#include <vector>

#include "Documento_PDF.h"

namespace timbrador {

namespace {

using Lineas = std::vector<Linea_PDF>;

void Agregar(Lineas& lineas, std::string texto, bool negrita = false) {
    lineas.push_back({std::move(texto), 10, negrita});
}

void Encabezado(Lineas& l, const Archivo_para_Timbrar& a) {
    const auto c = [&](const char* clave) { return a.Valor("Comprobante", clave); };
    const auto e = [&](const char* clave) { return a.Valor("Emisor", clave); };
    l.push_back({"FACTURA " + c("Serie") + "-" + c("Folio"), 16, true});
    Agregar(l, "Comprobante Fiscal Digital por Internet, versión 4.0");
    Agregar(l, "");
    Agregar(l, e("Nombre"), true);
    Agregar(l, "RFC: " + e("Rfc") + "    Régimen fiscal: " + e("RegimenFiscal"));
    Agregar(l,
            "Lugar de expedición: " + c("LugarExpedicion") + "    Fecha de emisión: " + c("Fecha"));
    Agregar(l, "");
}

void Receptor(Lineas& l, const Archivo_para_Timbrar& a) {
    const auto r = [&](const char* clave) { return a.Valor("Receptor", clave); };
    const auto c = [&](const char* clave) { return a.Valor("Comprobante", clave); };
    Agregar(l, "Receptor", true);
    Agregar(l, r("Nombre"));
    Agregar(l, "RFC: " + r("Rfc") + "    C.P.: " + r("DomicilioFiscalReceptor") +
                   "    Régimen fiscal: " + r("RegimenFiscalReceptor") +
                   "    Uso CFDI: " + r("UsoCFDI"));
    Agregar(l, "Forma de pago: " + c("FormaPago") + "    Método de pago: " + c("MetodoPago") +
                   "    Moneda: " + c("Moneda"));
    Agregar(l, "");
}

void Conceptos(Lineas& l, const Archivo_para_Timbrar& a) {
    Agregar(l, "Conceptos", true);
    for (const std::string& s : a.Conceptos()) {
        const auto v = [&](const char* clave) { return a.Valor(s, clave); };
        Agregar(l, v("Descripcion"));
        Agregar(l, "Clave: " + v("ClaveProdServ") + "    Cantidad: " + v("Cantidad") + " " +
                       v("Unidad") + " (" + v("ClaveUnidad") + ")    Valor unitario: " +
                       v("ValorUnitario") + "    Importe: " + v("Importe"));
    }
    Agregar(l, "");
}

std::string Nombre_Impuesto(const std::string& clave) {
    if (clave == "001")
        return "ISR";
    if (clave == "002")
        return "IVA";
    if (clave == "003")
        return "IEPS";
    return "Impuesto " + clave;
}

void Importes(Lineas& l, const Archivo_para_Timbrar& a) {
    Agregar(l, "Subtotal: " + a.Valor("Comprobante", "SubTotal"));
    for (const Traslado& t : a.Traslados("Impuestos"))
        Agregar(l, Nombre_Impuesto(t.impuesto) + " trasladado (tasa " + t.tasa_o_cuota +
                       "): " + t.importe);
    Agregar(l, "Total: " + a.Valor("Comprobante", "Total") + " " + a.Valor("Comprobante", "Moneda"),
            true);
    Agregar(l, "");
}

void Timbrado(Lineas& l, const Timbre& t) {
    Agregar(l, "Folio fiscal (UUID): " + t.uuid, true);
    Agregar(l, "Fecha de timbrado: " + t.fecha_timbrado +
                   "    RFC del proveedor: " + t.rfc_prov_certif);
    Agregar(l, "No. de certificado del emisor: " + t.no_certificado);
    Agregar(l, "No. de certificado del SAT: " + t.no_certificado_sat);
    Agregar(l, "Sello digital del CFDI: " + t.sello.substr(0, 60) + "...");
    Agregar(l, "Sello del SAT: " + t.sello_sat.substr(0, 60) + "...");
    Agregar(l, "");
    Agregar(l, "Este documento es una representación impresa de un CFDI.");
    Agregar(l, "Timbre simulado para pruebas: no tiene validez fiscal.");
}

}  // namespace

std::string Factura_PDF(const Archivo_para_Timbrar& archivo, const Timbre& timbre) {
    Lineas lineas;
    Encabezado(lineas, archivo);
    Receptor(lineas, archivo);
    Conceptos(lineas, archivo);
    Importes(lineas, archivo);
    Timbrado(lineas, timbre);
    return Documento_PDF(lineas);
}

}  // namespace timbrador

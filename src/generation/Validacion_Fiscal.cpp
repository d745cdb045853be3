#include "generation/Validacion_Fiscal.h"

#include "data/Formatos_Importe.h"
#include "issuing_config/Catalogos_CFDI.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Forma_RFC.h"
#include "issuing_config/Reglas_Fiscales.h"
#include "issuing_config/Zonas_Horarias.h"
#include "platform/Texto.h"
#include "platform/Texto_Unicode.h"

namespace facturador {

namespace {

using Receptor = Receptor_Verificado;

// What an invoice to a generic RFC must carry (Anexo 20 versión 4.0 and its filling guide,
// Receptor: RegimenFiscalReceptor 616, UsoCFDI S01 and DomicilioFiscalReceptor equal to
// LugarExpedicion when Rfc is XAXX010101000 or XEXX010101000).
constexpr std::string_view kRegimen_Generico = "616";
constexpr std::string_view kUso_Generico = "S01";
// The name of the global invoice (the CFDI global of regla 2.7.1.21), whose InformacionGlobal
// node the file to stamp never has: on this program's individual invoices the receiver is the
// customer, by name, even without an RFC.
constexpr std::string_view kNombre_Publico_General = "PUBLICOENGENERAL";

constexpr Campo_Fiscal kRFC{"RFC", "del receptor"};
constexpr Campo_Fiscal kNombre{"Nombre", "del receptor"};
constexpr Campo_Fiscal kRegimen{"Régimen fiscal", "del receptor"};

Motivo_Fiscal Regla_RFC(const Receptor& r) {
    return Motivo_RFC(kRFC, r.RFC);
}

Motivo_Fiscal Regla_Nombre(const Receptor& r) {
    return Motivo_Nombre(kNombre, r.Nombre, r.RFC);
}

bool Es_Publico_En_General(const std::string& nombre) {
    std::string letras = Forma_Comparable(nombre);
    std::erase(letras, ' ');
    return letras == kNombre_Publico_General;
}

// "PUBLICO EN GENERAL", in any case, spacing or accents, only names the global invoice.
Motivo_Fiscal Regla_Publico_En_General(const Receptor& r) {
    if (!Es_Publico_En_General(r.Nombre))
        return std::nullopt;
    if (r.RFC == kRFC_Publico_General)
        return "Nombre del receptor PUBLICO EN GENERAL es solo para la factura global (con "
               "InformacionGlobal), que este programa no emite: con RFC " +
               r.RFC + " va el nombre del cliente";
    return "Nombre del receptor PUBLICO EN GENERAL es solo para la factura global, con RFC " +
           std::string(kRFC_Publico_General) + ": " + Valor_en_Motivo(r.RFC);
}

// A generic RFC's regime, use and postal code; they say exactly what to write, so they come
// before the postal code's format and the catalogues' rules. A branch whose profile has no place
// of issue is not held against the customer.
Motivo_Fiscal Regla_RFC_Generico(const Receptor& r) {
    if (!Es_RFC_Generico(r.RFC))
        return std::nullopt;
    const std::string con_rfc = " del receptor con RFC " + r.RFC + " debe ser ";
    if (r.Regimen != kRegimen_Generico)
        return "Régimen fiscal" + con_rfc + std::string(kRegimen_Generico) + ": " +
               Valor_en_Motivo(r.Regimen);
    if (r.Uso != kUso_Generico)
        return "Uso de CFDI" + con_rfc + std::string(kUso_Generico) + ": " + Valor_en_Motivo(r.Uso);
    if (!r.Lugar_Expedicion.empty() && r.Codigo_Postal != r.Lugar_Expedicion)
        return "Código postal" + con_rfc + "el del lugar de expedición " + r.Lugar_Expedicion +
               ": " + Valor_en_Motivo(r.Codigo_Postal);
    return std::nullopt;
}

// DomicilioFiscalReceptor: a code of c_CodigoPostal, five digits from 01000 to 99999 that the
// catalogue holds.
Motivo_Fiscal Regla_Codigo_Postal(const Receptor& r) {
    if (!Es_Codigo_Postal_Valido(r.Codigo_Postal))
        return "Código postal del receptor con formato inválido: " +
               Valor_en_Motivo(r.Codigo_Postal);
    if (!Lugar_de_Codigo_Postal(r.Codigo_Postal))
        return "Código postal del receptor no existe en el catálogo c_CodigoPostal del SAT: " +
               Valor_en_Motivo(r.Codigo_Postal);
    return std::nullopt;
}

Motivo_Fiscal Regla_Regimen(const Receptor& r) {
    return Motivo_Regimen(kRegimen, r.Regimen, r.RFC);
}

// UsoCFDI: a code of c_UsoCFDI for that kind of person and allowed for the receiver's regime.
Motivo_Fiscal Regla_Uso(const Receptor& r) {
    const auto& usos = Catalogos_CFDI_Vigentes().Usos;
    const auto uso = usos.find(r.Uso);
    if (uso == usos.end())
        return "Uso de CFDI del receptor no existe en el catálogo: " + Valor_en_Motivo(r.Uso);
    if (!Aplica_a_RFC(uso->second.Aplica, r.RFC))
        return "Uso de CFDI " + r.Uso + " no aplica a persona " + Tipo_Persona(r.RFC) + " (RFC " +
               r.RFC + ")";
    if (!uso->second.Regimenes.contains(r.Regimen))
        return "Uso de CFDI " + r.Uso + " no aplica al régimen fiscal " + r.Regimen +
               " del receptor";
    return std::nullopt;
}

// FormaPago: a code of c_FormaPago. "99" (Por definir) goes with MetodoPago PUE as well: the
// stamping validation refuses only the reverse pairing, PPD with a form other than 99 (CFDI40105
// of the CFDI 4.0 error matrix); that a PUE invoice names the form it was paid with is a filling
// duty of the Guía de llenado and of RMF 2.7.1.44's deferred-payment facility, not a refusal.
Motivo_Fiscal Regla_Forma_Pago(const Receptor& r) {
    if (Catalogos_CFDI_Vigentes().Formas_Pago.contains(r.Forma_Pago))
        return std::nullopt;
    return "Forma de pago de la solicitud no existe en el catálogo: " +
           Valor_en_Motivo(r.Forma_Pago);
}

// Total: an amount of t_Importe (tdCFDI.xsd: no sign, at most 18 integer digits) whose
// subtotal, the base of the transferred tax, is above zero (cfdv40.xsd, Traslado › Base,
// minInclusive 0.000001), in whole cents: the SubTotal and Total of a CFDI carry at most the
// decimals of its currency, two for MXN (c_Moneda), and a total in fractions of a cent would be
// rounded into a file whose SubTotal plus IVA is not its Total (CFDI40119). The request is refused
// rather than invoiced for another amount than its ticket check, invoice row and invoiced amount
// count.
Motivo_Fiscal Regla_Total(const Receptor& r) {
    constexpr double kImporte_Maximo = 1e18;
    if (!(r.Total >= 0.01 && r.Total < kImporte_Maximo))
        return "Total de la solicitud no es un importe que se pueda timbrar: " +
               Valor_en_Motivo(Formato_Importe_Archivo(r.Total));
    const std::string total = Formato_Importe_SQL(r.Total);
    if (const size_t punto = total.find('.');
        punto != std::string::npos && total.size() - punto > 3)
        return "Total de la solicitud tiene más de dos decimales, que la moneda MXN no admite: " +
               total;
    return std::nullopt;
}

// The rules in the order they are checked; the first that fails gives the reason, so that the
// customer is told the field to correct:
//   1. the RFC's shape;
//   2. a name the file can carry and, for a company, without its company type;
//   3. the name PUBLICO EN GENERAL, which belongs to the global invoice;
//   4. for a generic RFC, the regime, use and postal code it requires;
//   5. a postal code the catalogue holds;
//   6. the regime, in c_RegimenFiscal and for the kind of person the RFC names;
//   7. the use, in c_UsoCFDI, for that kind of person and allowed for the regime;
//   8. the payment form, in c_FormaPago;
//   9. a total the invoice can carry, in whole cents.
// Each rule may rely on those before it having passed.
constexpr Motivo_Fiscal (*kReglas[])(const Receptor&) = {
    Regla_RFC,     Regla_Nombre, Regla_Publico_En_General, Regla_RFC_Generico, Regla_Codigo_Postal,
    Regla_Regimen, Regla_Uso,    Regla_Forma_Pago,         Regla_Total,
};

}  // namespace

Receptor_Verificado Forma_Receptor(const Datos_Fiscales_Receptor& d) {
    return {Forma_Fiscal(d.RFC),           Forma_Nombre(d.Nombre),
            Forma_Fiscal(d.Codigo_Postal), Forma_Fiscal(d.Regimen_Fiscal),
            Forma_Fiscal(d.Uso),           Forma_Fiscal(d.Lugar_Expedicion),
            Forma_Fiscal(d.Forma_Pago),    d.Total};
}

Datos_Fiscales_Receptor Datos_Fiscales_de(const Solicitud_Factura& s,
                                          const std::string& lugar_expedicion) {
    return {s.RFC, s.Nombre,         s.Codigo_Postal, s.Regimen_Fiscal,
            s.Uso, lugar_expedicion, s.Metodo,        s.Total};
}

std::optional<std::string> Motivo_Rechazo_Fiscal(const Datos_Fiscales_Receptor& datos) {
    const Receptor receptor = Forma_Receptor(datos);
    for (const auto regla : kReglas)
        if (auto motivo = regla(receptor))
            return motivo;
    return std::nullopt;
}

bool Validar_Datos_Fiscales(const Solicitud_Factura& solicitud, std::string& motivo) {
    const Motivo_Fiscal falla = Motivo_Rechazo_Fiscal(Datos_Fiscales_de(
        solicitud, Obtener_Datos_Emision(solicitud.ID_Sucursal).CP_Domicilio_Expedicion));
    motivo = falla.value_or("");
    return !falla;
}

}  // namespace facturador

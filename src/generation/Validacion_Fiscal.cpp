#include "generation/Validacion_Fiscal.h"

#include "issuing_config/Catalogos_CFDI.h"
#include "issuing_config/Forma_RFC.h"
#include "issuing_config/Regimen_Societario.h"
#include "issuing_config/Datos_Emision.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

using Motivo = std::optional<std::string>;

// The generic RFCs and what an invoice to them must carry (Anexo 20 versión 4.0, filling guide
// and validation rules of the Receptor node: Nombre, DomicilioFiscalReceptor,
// RegimenFiscalReceptor, UsoCFDI).
constexpr std::string_view kRFC_Publico_General = "XAXX010101000";
constexpr std::string_view kRFC_Extranjero = "XEXX010101000";
constexpr std::string_view kNombre_Publico_General = "PUBLICO EN GENERAL";
constexpr std::string_view kRegimen_Generico = "616";
constexpr std::string_view kUso_Generico = "S01";

// The receiver's data as the check reads them: trimmed and in upper case.
struct Receptor {
    std::string RFC;
    std::string Nombre;
    std::string Codigo_Postal;
    std::string Regimen;
    std::string Uso;
    std::string Lugar_Expedicion;

    std::string Persona() const { return Es_RFC_Persona_Fisica(RFC) ? "física" : "moral"; }
};

// A value as the reason shows it.
std::string Mostrar(const std::string& valor) {
    return valor.empty() ? "(vacío)" : valor;
}

Motivo Regla_RFC(const Receptor& r) {
    if (Es_RFC_Valido(r.RFC))
        return std::nullopt;
    return "RFC del receptor con formato inválido: " + Mostrar(r.RFC);
}

Motivo Regla_Nombre(const Receptor& r) {
    if (!r.Nombre.empty())
        return std::nullopt;
    return "Nombre del receptor vacío";
}

// DomicilioFiscalReceptor: a postal code of five digits.
Motivo Regla_Codigo_Postal(const Receptor& r) {
    const bool valido = r.Codigo_Postal.size() == 5 &&
                        r.Codigo_Postal.find_first_not_of("0123456789") == std::string::npos;
    if (valido)
        return std::nullopt;
    return "Código postal del receptor con formato inválido: " + Mostrar(r.Codigo_Postal);
}

// General public: that name, regime 616, use S01 and the place of issue as fiscal domicile.
// Foreign receivers without an RFC: the same but for the name. A branch whose profile has no
// place of issue is not held against the customer.
Motivo Regla_RFC_Generico(const Receptor& r) {
    const bool publico = r.RFC == kRFC_Publico_General;
    if (!publico && r.RFC != kRFC_Extranjero)
        return std::nullopt;
    const std::string con_rfc = " del receptor con RFC " + r.RFC + " debe ser ";
    if (publico && r.Nombre != kNombre_Publico_General)
        return "Nombre" + con_rfc + std::string(kNombre_Publico_General) + ": " + r.Nombre;
    if (r.Regimen != kRegimen_Generico)
        return "Régimen fiscal" + con_rfc + std::string(kRegimen_Generico) + ": " +
               Mostrar(r.Regimen);
    if (r.Uso != kUso_Generico)
        return "Uso de CFDI" + con_rfc + std::string(kUso_Generico) + ": " + Mostrar(r.Uso);
    if (!r.Lugar_Expedicion.empty() && r.Codigo_Postal != r.Lugar_Expedicion)
        return "Código postal" + con_rfc + "el del lugar de expedición " + r.Lugar_Expedicion +
               ": " + r.Codigo_Postal;
    return std::nullopt;
}

bool Aplica(const Aplica_Persona& aplica, const Receptor& r) {
    return Es_RFC_Persona_Fisica(r.RFC) ? aplica.Fisica : aplica.Moral;
}

// RegimenFiscalReceptor: a code of c_RegimenFiscal for the kind of person the RFC names.
Motivo Regla_Regimen(const Receptor& r) {
    const auto& regimenes = Catalogos_CFDI_Vigentes().Regimenes;
    const auto regimen = regimenes.find(r.Regimen);
    if (regimen == regimenes.end())
        return "Régimen fiscal del receptor no existe en el catálogo: " + Mostrar(r.Regimen);
    if (!Aplica(regimen->second.Aplica, r))
        return "Régimen fiscal " + r.Regimen + " del receptor no aplica a persona " + r.Persona() +
               " (RFC " + r.RFC + ")";
    return std::nullopt;
}

// UsoCFDI: a code of c_UsoCFDI for that kind of person and allowed for the receiver's regime.
Motivo Regla_Uso(const Receptor& r) {
    const auto& usos = Catalogos_CFDI_Vigentes().Usos;
    const auto uso = usos.find(r.Uso);
    if (uso == usos.end())
        return "Uso de CFDI del receptor no existe en el catálogo: " + Mostrar(r.Uso);
    if (!Aplica(uso->second.Aplica, r))
        return "Uso de CFDI " + r.Uso + " no aplica a persona " + r.Persona() + " (RFC " + r.RFC +
               ")";
    if (!uso->second.Regimenes.contains(r.Regimen))
        return "Uso de CFDI " + r.Uso + " no aplica al régimen fiscal " + r.Regimen +
               " del receptor";
    return std::nullopt;
}

Motivo Regla_Regimen_Societario(const Receptor& r) {
    const auto regimen = Regimen_Societario_Final(r.Nombre);
    if (!regimen)
        return std::nullopt;
    return "Nombre del receptor con el régimen societario " + *regimen +
           ", que en CFDI 4.0 se omite: " + r.Nombre;
}

// The rules in the order they are checked; the first that fails gives the reason:
//   1. the RFC's shape;
//   2. a name;
//   3. a postal code of five digits;
//   4. for a generic RFC, the name, regime, use and postal code it requires (these reasons say
//      exactly what to write, so they come before the catalogues');
//   5. the regime, in c_RegimenFiscal and for the kind of person the RFC names;
//   6. the use, in c_UsoCFDI, for that kind of person and allowed for the regime;
//   7. no company type at the end of the name.
// Each rule may rely on those before it having passed.
constexpr Motivo (*kReglas[])(const Receptor&) = {
    Regla_RFC,     Regla_Nombre, Regla_Codigo_Postal,      Regla_RFC_Generico,
    Regla_Regimen, Regla_Uso,    Regla_Regimen_Societario,
};

}  // namespace

Motivo Motivo_Rechazo_Fiscal(const Datos_Fiscales_Receptor& datos) {
    const Receptor receptor{Forma_Fiscal(datos.RFC),           Forma_Fiscal(datos.Nombre),
                            Forma_Fiscal(datos.Codigo_Postal), Forma_Fiscal(datos.Regimen_Fiscal),
                            Forma_Fiscal(datos.Uso),           Forma_Fiscal(datos.Lugar_Expedicion)};
    for (const auto regla : kReglas)
        if (auto motivo = regla(receptor))
            return motivo;
    return std::nullopt;
}

bool Validar_Datos_Fiscales(const Solicitud_Factura& solicitud, std::string& motivo) {
    const Motivo falla = Motivo_Rechazo_Fiscal(
        {solicitud.RFC, solicitud.Nombre, solicitud.Codigo_Postal, solicitud.Regimen_Fiscal,
         solicitud.Uso, Obtener_Datos_Emision(solicitud.ID_Sucursal).CP_Domicilio_Expedicion});
    motivo = falla.value_or("");
    return !falla;
}

}  // namespace facturador

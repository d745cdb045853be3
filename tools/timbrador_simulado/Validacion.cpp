#include "Validacion.h"

#include <cmath>

#include "data/Valores_Campo.h"
#include "issuing_config/Catalogos_CFDI.h"
#include "platform/Texto.h"

namespace timbrador {

namespace {

bool Es_Digito(char c) {
    return c >= '0' && c <= '9';
}

bool Es_Mayuscula(char c) {
    return c >= 'A' && c <= 'Z';
}

bool Solo_Digitos(std::string_view t) {
    for (char c : t)
        if (!Es_Digito(c))
            return false;
    return true;
}

bool Es_Codigo_Postal(std::string_view t) {
    return t.size() == 5 && Solo_Digitos(t);
}

bool Es_Regimen(std::string_view t) {
    return t.size() == 3 && Solo_Digitos(t);
}

// The SAT's catalogue c_FormaPago, as the program carries it.
bool Es_Forma_Pago(std::string_view t) {
    return facturador::Catalogos_CFDI_Vigentes().Formas_Pago.contains(std::string(t));
}

// Catalogue keys such as G03, CP01 or S01: upper-case letters first, then digits.
bool Es_Uso_CFDI(std::string_view t) {
    if (t.size() < 3 || t.size() > 4 || !Es_Mayuscula(t[0]))
        return false;
    size_t i = 1;
    while (i < t.size() && Es_Mayuscula(t[i]))
        ++i;
    return t.size() - i >= 2 && Solo_Digitos(t.substr(i));
}

// Digits, optionally a point and one to six decimals; no sign, no blanks.
bool Es_Importe(std::string_view t) {
    const size_t punto = t.find('.');
    const std::string_view entera = t.substr(0, punto);
    if (entera.empty() || !Solo_Digitos(entera))
        return false;
    if (punto == std::string_view::npos)
        return true;
    const std::string_view decimales = t.substr(punto + 1);
    return !decimales.empty() && decimales.size() <= 6 && Solo_Digitos(decimales);
}

// "yyyy-mm-ddThh:mm:ss".
bool Es_Fecha(std::string_view t) {
    static constexpr std::string_view kPatron = "dddd-dd-ddTdd:dd:dd";
    if (t.size() != kPatron.size())
        return false;
    for (size_t i = 0; i < t.size(); ++i)
        if (kPatron[i] == 'd' ? !Es_Digito(t[i]) : t[i] != kPatron[i])
            return false;
    return true;
}

bool No_Vacio(std::string_view t) {
    return !facturador::Recortar(t).empty();
}

struct Regla {
    const char* seccion;
    const char* clave;
    bool (*valido)(std::string_view);
    const char* motivo;
};

const Regla kReglas[] = {
    {"Comprobante", "Fecha", Es_Fecha,
     "CFDI40101 - El campo Fecha no cumple con el patrón requerido"},
    {"Comprobante", "FormaPago", Es_Forma_Pago,
     "CFDI40104 - El campo FormaPago no contiene un valor del catálogo c_FormaPago"},
    {"Comprobante", "SubTotal", Es_Importe,
     "CFDI40106 - El valor del campo SubTotal no es un importe válido"},
    {"Comprobante", "Total", Es_Importe,
     "CFDI40110 - El valor del campo Total no es un importe válido"},
    {"Comprobante", "LugarExpedicion", Es_Codigo_Postal,
     "CFDI40124 - El campo LugarExpedicion no contiene un código postal válido"},
    {"Emisor", "Rfc", Es_RFC, "CFDI40131 - El RFC del emisor no es válido"},
    {"Emisor", "Nombre", No_Vacio, "CFDI40132 - El nombre del emisor es requerido"},
    {"Emisor", "RegimenFiscal", Es_Regimen,
     "CFDI40134 - El régimen fiscal del emisor no contiene un valor del catálogo c_RegimenFiscal"},
    {"Receptor", "Rfc", Es_RFC, "CFDI40147 - El RFC del receptor no es válido"},
    {"Receptor", "Nombre", No_Vacio, "CFDI40145 - El nombre del receptor es requerido"},
    {"Receptor", "DomicilioFiscalReceptor", Es_Codigo_Postal,
     "CFDI40149 - El código postal del domicilio fiscal del receptor no es válido"},
    {"Receptor", "RegimenFiscalReceptor", Es_Regimen,
     "CFDI40157 - El régimen fiscal del receptor no contiene un valor del catálogo "
     "c_RegimenFiscal"},
    {"Receptor", "UsoCFDI", Es_Uso_CFDI,
     "CFDI40158 - El campo UsoCFDI no contiene un valor del catálogo c_UsoCFDI"},
    {"Concepto1", "ValorUnitario", Es_Importe,
     "CFDI40163 - El valor unitario del concepto no es un importe válido"},
    {"Concepto1", "Importe", Es_Importe,
     "CFDI40165 - El importe del concepto no es un importe válido"},
};

double Numero(const Archivo_para_Timbrar& a, const char* seccion, const char* clave) {
    return facturador::Leer_Numero(a.Valor(seccion, clave)).value_or(0.0);
}

// Total = subtotal - discount + transferred taxes, to the cent.
bool Total_Cuadra(const Archivo_para_Timbrar& a) {
    const double esperado = Numero(a, "Comprobante", "SubTotal") -
                            Numero(a, "Comprobante", "Descuento") +
                            Numero(a, "Impuestos", "TotalImpuestosTrasladados");
    return std::fabs(esperado - Numero(a, "Comprobante", "Total")) < 0.005;
}

}  // namespace

bool Es_RFC(std::string_view utf8) {
    // In the code page Ñ is one byte, so the lengths of the pattern hold.
    const std::string t = facturador::A_Windows_1252(utf8);
    if (t.size() != 12 && t.size() != 13)
        return false;
    const size_t letras = t.size() - 9;
    for (size_t i = 0; i < letras; ++i)
        if (!Es_Mayuscula(t[i]) && t[i] != '&' && t[i] != '\xD1')
            return false;
    for (size_t i = letras; i < letras + 6; ++i)
        if (!Es_Digito(t[i]))
            return false;
    for (size_t i = letras + 6; i + 1 < t.size(); ++i)
        if (!Es_Mayuscula(t[i]) && !Es_Digito(t[i]))
            return false;
    return Es_Digito(t.back()) || t.back() == 'A';
}

std::optional<std::string> Motivo_Rechazo(const Archivo_para_Timbrar& archivo) {
    for (const char* seccion : {"Comprobante", "Emisor", "Receptor", "Concepto1", "Impuestos"})
        if (!archivo.Tiene_Seccion(seccion))
            return std::string("301 - Estructura inválida: falta la sección [") + seccion + "]";
    if (archivo.Valor("Comprobante", "Version") != "4.0")
        return std::string("CFDI40100 - La versión del comprobante debe ser 4.0");
    for (const Regla& r : kReglas)
        if (!r.valido(archivo.Valor(r.seccion, r.clave)))
            return std::string(r.motivo);
    if (!Total_Cuadra(archivo))
        return std::string(
            "CFDI40119 - El campo Total no corresponde con la suma del subtotal, menos los "
            "descuentos aplicables, más las contribuciones recibidas");
    return std::nullopt;
}

}  // namespace timbrador

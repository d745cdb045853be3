#include "intake/Actualizacion_Factura.h"

#include <cerrno>
#include <string_view>
#include <utility>

#include "data/Valores_Campo.h"
#include "intake/Lector_XML.h"
#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

enum class Forma { Texto, Numero };

using P = Parte_Comprobante;

// One value of the stamped XML and the column of the invoice row that receives it: the attribute
// as CFDI 3.3 and 4.0 name it, of the part where the result's checks read too.
struct Campo_Timbrado {
    Parte_Comprobante Parte;
    std::string_view Atributo;
    std::string_view Columna;
    Forma Como;
    std::string_view Si_Vacio;
};

// codigoPostal_cliente has always received the receiver's UsoCFDI.
constexpr Campo_Timbrado kCampos[] = {
    {P::Comprobante, "NoCertificado", "noCertificado", Forma::Texto, ""},
    {P::Comprobante, "LugarExpedicion", "LugarExpedicion", Forma::Texto, ""},
    {P::Comprobante, "TipoDeComprobante", "tipoDeComprobante", Forma::Texto, ""},
    {P::Comprobante, "Total", "total", Forma::Numero, "0"},
    {P::Comprobante, "SubTotal", "subTotal", Forma::Numero, "0"},
    {P::Comprobante, "FormaPago", "formaDePago", Forma::Texto, "01"},
    {P::Comprobante, "Folio", "folio", Forma::Numero, "0"},
    {P::Comprobante, "Serie", "serie", Forma::Texto, ""},
    {P::Comprobante, "Version", "version", Forma::Texto, ""},
    {P::Comprobante, "Fecha", "fecha", Forma::Texto, ""},
    {P::Comprobante, "Certificado", "certificado", Forma::Texto, ""},
    {P::Comprobante, "Sello", "sello", Forma::Texto, ""},
    {P::Emisor, "Rfc", "rfc_emisor", Forma::Texto, ""},
    {P::Emisor, "Nombre", "nombre_emisor", Forma::Texto, ""},
    {P::Emisor, "RegimenFiscal", "Regimen", Forma::Texto, ""},
    {P::Receptor, "Rfc", "rfc_cliente", Forma::Texto, ""},
    {P::Receptor, "Nombre", "nombre_cliente", Forma::Texto, ""},
    {P::Receptor, "UsoCFDI", "codigoPostal_cliente", Forma::Texto, ""},
    {P::Concepto, "Importe", "importe", Forma::Texto, ""},
    {P::Concepto, "ValorUnitario", "valorUnitario", Forma::Texto, ""},
    {P::Concepto, "Descripcion", "descripcion", Forma::Texto, ""},
    {P::Concepto, "Unidad", "unidad", Forma::Texto, ""},
    {P::Concepto, "Cantidad", "cantidad", Forma::Texto, ""},
    {P::Impuestos, "TotalImpuestosTrasladados", "totalImpuestosTrasladados", Forma::Texto, ""},
    {P::Traslado, "Importe", "importe_traslado", Forma::Texto, ""},
    {P::Traslado, "TasaOCuota", "tasa_traslado", Forma::Texto, ""},
    {P::Traslado, "Impuesto", "impuesto_traslado", Forma::Texto, ""},
    {P::Timbre, "SelloSAT", "selloSAT", Forma::Texto, ""},
    {P::Timbre, "NoCertificadoSAT", "noCertificadoSAT", Forma::Texto, ""},
    {P::Timbre, "SelloCFD", "selloCFD", Forma::Texto, ""},
    {P::Timbre, "FechaTimbrado", "FechaTimbrado", Forma::Texto, ""},
    {P::Timbre, "UUID", "UUID", Forma::Texto, ""},
};

std::string Actualizar(std::string_view columna, const std::string& valor_sql, int32_t id_factura) {
    return "UPDATE Facturas_Electronicas SET " + std::string(columna) + " = " + valor_sql +
           " WHERE ID_Factura = " + std::to_string(id_factura);
}

Valor_Timbrado Valor_de(const Campo_Timbrado& campo, const std::string& leido,
                        const Limites_Central& limites) {
    Valor_Timbrado v{campo.Columna, campo.Como == Forma::Numero, leido, ""};
    if (v.Valor.empty()) {
        v.Valor = campo.Si_Vacio;
    } else if (v.Numero && !Leer_Numero(leido)) {
        v.Valor = campo.Si_Vacio;
    } else if (v.Numero) {
        const auto numero = Leer_Numero_en_Rango(leido);
        if (!numero ||
            !limites.Cabe_Numero("Facturas_Electronicas", std::string(campo.Columna), *numero)) {
            v.Valor = campo.Si_Vacio;
            v.Fuera_de_Rango = leido;
        }
    }
    return v;
}

// The columns that tell which invoice a row is, and the value each one may never be written as.
constexpr std::pair<std::string_view, std::string_view> kIdentidad[] = {
    {"serie", ""}, {"folio", "0"}, {"UUID", ""}};

bool Sin_Identidad(const Valor_Timbrado& v) {
    for (const auto& [columna, vacio] : kIdentidad)
        if (v.Columna == columna && Recortar(v.Valor) == vacio)
            return true;
    return false;
}

}  // namespace

std::vector<Valor_Timbrado> Leer_Valores_Timbrados(const Comprobante_Leido& comprobante,
                                                   const Limites_Central& limites) {
    std::vector<Valor_Timbrado> valores;
    valores.reserve(std::size(kCampos));
    for (const Campo_Timbrado& campo : kCampos)
        valores.push_back(
            Valor_de(campo, comprobante.Atributo(campo.Parte, campo.Atributo), limites));
    return valores;
}

std::optional<std::string> Revisar_Identidad(const std::vector<Valor_Timbrado>& valores) {
    for (const Valor_Timbrado& v : valores)
        if (Sin_Identidad(v))
            return "el XML dejaría la factura registrada sin " + std::string(v.Columna);
    return std::nullopt;
}

std::vector<std::string> Sentencias_Factura_Timbrada(const std::vector<Valor_Timbrado>& valores,
                                                     int32_t id_factura) {
    std::vector<std::string> sentencias;
    sentencias.reserve(valores.size() + 1);
    for (const Valor_Timbrado& v : valores)
        if (!Sin_Identidad(v))
            sentencias.push_back(Actualizar(
                v.Columna, v.Numero ? v.Valor : "'" + Escapar_Central(v.Valor) + "'", id_factura));
    sentencias.push_back(Actualizar("Status", "2", id_factura));
    return sentencias;
}

std::vector<std::string> Leer_Comprobante_Timbrado(const std::string& ruta_xml,
                                                   int32_t id_factura) {
    Comprobante_Leido comprobante;
    if (const auto problema = Leer_Comprobante(Leer_Texto_XML(ruta_xml), comprobante))
        throw Error_Plataforma(EILSEQ, *problema + ": " + ruta_xml);
    return Sentencias_Factura_Timbrada(
        Leer_Valores_Timbrados(comprobante, Limites_Columnas_Central()), id_factura);
}

}  // namespace facturador

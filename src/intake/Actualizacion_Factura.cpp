#include "intake/Actualizacion_Factura.h"

#include <string_view>
#include <utility>

#include "data/Valores_Campo.h"
#include "intake/Lector_XML.h"
#include "platform/Conexion.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

enum class Forma { Texto, Numero };

// One value of the stamped XML and the column of the invoice row that receives it.
struct Campo_Timbrado {
    std::string_view Etiqueta;
    std::string_view Atributo;
    std::string_view Columna;
    Forma Como;
    std::string_view Si_Vacio;
};

constexpr std::string_view kComprobante = "<cfdi:Comprobante";
constexpr std::string_view kEmisor = "<cfdi:Emisor";
constexpr std::string_view kReceptor = "<cfdi:Receptor";
constexpr std::string_view kConcepto = "<cfdi:Concepto";
constexpr std::string_view kImpuestos = "<cfdi:Impuestos";
constexpr std::string_view kComplemento = "<cfdi:Complemento";

// codigoPostal_cliente has always received the receiver's UsoCFDI.
constexpr Campo_Timbrado kCampos[] = {
    {kComprobante, "noCertificado", "noCertificado", Forma::Texto, ""},
    {kComprobante, "LugarExpedicion", "LugarExpedicion", Forma::Texto, ""},
    {kComprobante, "tipoDeComprobante", "tipoDeComprobante", Forma::Texto, ""},
    {kComprobante, "total", "total", Forma::Numero, "0"},
    {kComprobante, "subTotal", "subTotal", Forma::Numero, "0"},
    {kComprobante, "FormaPago", "formaDePago", Forma::Texto, "01"},
    {kComprobante, "folio", "folio", Forma::Numero, "0"},
    {kComprobante, "serie", "serie", Forma::Texto, ""},
    {kComprobante, "version", "version", Forma::Texto, ""},
    {kComprobante, "fecha", "fecha", Forma::Texto, ""},
    {kComprobante, "certificado", "certificado", Forma::Texto, ""},
    {kComprobante, "sello", "sello", Forma::Texto, ""},
    {kEmisor, "rfc", "rfc_emisor", Forma::Texto, ""},
    {kEmisor, "nombre", "nombre_emisor", Forma::Texto, ""},
    {kEmisor, "RegimenFiscal", "Regimen", Forma::Texto, ""},
    {kReceptor, "rfc", "rfc_cliente", Forma::Texto, ""},
    {kReceptor, "nombre", "nombre_cliente", Forma::Texto, ""},
    {kReceptor, "UsoCFDI", "codigoPostal_cliente", Forma::Texto, ""},
    {kConcepto, "importe", "importe", Forma::Texto, ""},
    {kConcepto, "valorUnitario", "valorUnitario", Forma::Texto, ""},
    {kConcepto, "descripcion", "descripcion", Forma::Texto, ""},
    {kConcepto, "unidad", "unidad", Forma::Texto, ""},
    {kConcepto, "cantidad", "cantidad", Forma::Texto, ""},
    {kImpuestos, "totalImpuestosTrasladados", "totalImpuestosTrasladados", Forma::Texto, ""},
    {kImpuestos, "importe", "importe_traslado", Forma::Texto, ""},
    {kImpuestos, "TasaOCuota", "tasa_traslado", Forma::Texto, ""},
    {kImpuestos, "impuesto", "impuesto_traslado", Forma::Texto, ""},
    {kComplemento, "selloSAT", "selloSAT", Forma::Texto, ""},
    {kComplemento, "noCertificadoSAT", "noCertificadoSAT", Forma::Texto, ""},
    {kComplemento, "selloCFD", "selloCFD", Forma::Texto, ""},
    {kComplemento, "FechaTimbrado", "FechaTimbrado", Forma::Texto, ""},
    {kComplemento, "UUID", "UUID", Forma::Texto, ""},
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

// The value the result gate read for this column, if it is one of those it compared.
const std::string* De_la_Identidad(std::string_view columna, const Identidad_Comprobante& i) {
    const std::pair<std::string_view, const std::string*> columnas[] = {
        {"total", &i.Total},
        {"folio", &i.Folio},
        {"serie", &i.Serie},
        {"rfc_cliente", &i.Rfc_Receptor},
        {"UUID", &i.UUID}};
    for (const auto& [nombre, valor] : columnas)
        if (nombre == columna)
            return valor;
    return nullptr;
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

std::vector<Valor_Timbrado> Leer_Valores_Timbrados(std::string_view texto,
                                                   const Limites_Central& limites,
                                                   const Identidad_Comprobante* identidad) {
    std::vector<Valor_Timbrado> valores;
    valores.reserve(std::size(kCampos));
    for (const Campo_Timbrado& campo : kCampos) {
        const std::string* comparado =
            identidad ? De_la_Identidad(campo.Columna, *identidad) : nullptr;
        valores.push_back(Valor_de(
            campo,
            comparado ? *comparado : Buscar_Atributo_XML(texto, campo.Etiqueta, campo.Atributo),
            limites));
    }
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
    return Sentencias_Factura_Timbrada(
        Leer_Valores_Timbrados(Leer_Texto_XML(ruta_xml), Limites_Columnas_Central()), id_factura);
}

}  // namespace facturador

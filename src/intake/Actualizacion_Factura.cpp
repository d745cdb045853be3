#include "intake/Actualizacion_Factura.h"

#include <string_view>

#include "data/Valores_Campo.h"
#include "intake/Lector_XML.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"

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

}  // namespace

std::vector<Valor_Timbrado> Leer_Valores_Timbrados(std::string_view contenido,
                                                   const Limites_Central& limites) {
    std::vector<Valor_Timbrado> valores;
    valores.reserve(std::size(kCampos));
    for (const Campo_Timbrado& campo : kCampos)
        valores.push_back(Valor_de(
            campo, Buscar_Atributo_XML(contenido, campo.Etiqueta, campo.Atributo), limites));
    return valores;
}

std::vector<std::string> Sentencias_Factura_Timbrada(const std::vector<Valor_Timbrado>& valores,
                                                     int32_t id_factura) {
    std::vector<std::string> sentencias;
    sentencias.reserve(valores.size() + 1);
    for (const Valor_Timbrado& v : valores)
        sentencias.push_back(Actualizar(
            v.Columna, v.Numero ? v.Valor : "'" + Escapar_Central(v.Valor) + "'", id_factura));
    sentencias.push_back(Actualizar("Status", "2", id_factura));
    return sentencias;
}

std::vector<std::string> Leer_Comprobante_Timbrado(const std::string& ruta_xml,
                                                   int32_t id_factura) {
    const std::string contenido = Leer_Archivo(ruta_xml);
    return Sentencias_Factura_Timbrada(
        Leer_Valores_Timbrados(contenido, Limites_Columnas_Central()), id_factura);
}

}  // namespace facturador

#include "intake/Almacenabilidad.h"

#include <algorithm>
#include <utility>

#include "data/Formatos_Importe.h"
#include "data/Valores_Campo.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

// Room in a packet for the statement around the document.
constexpr uintmax_t kReserva_Paquete = 64 * 1024;

std::optional<std::string> Texto_Excedido(const Limites_Central& limites, const std::string& tabla,
                                          const std::string& columna, const std::string& valor) {
    if (limites.Cabe_Texto(tabla, columna, valor))
        return std::nullopt;
    const Limite_Columna* l = limites.Buscar(tabla, columna);
    return tabla + "." + columna + " admite " + std::to_string(l->caracteres) +
           " caracteres y el valor trae " + std::to_string(Contar_Caracteres(valor));
}

}  // namespace

std::optional<std::string> Revisar_Tamano_Documentos(uintmax_t bytes_xml, uintmax_t bytes_pdf,
                                                     const Limites_Central& limites) {
    const uintmax_t mayor = std::max(bytes_xml, bytes_pdf);
    const std::string pesa = std::string(bytes_xml >= bytes_pdf ? "el XML" : "el PDF") + " pesa " +
                             std::to_string(mayor) + " bytes";
    if (mayor > kMaximo_Documento)
        return pesa + ", más de los " + std::to_string(kMaximo_Documento) +
               " que se leen de un comprobante";
    if (limites.paquete_maximo == 0 || mayor + kReserva_Paquete <= limites.paquete_maximo)
        return std::nullopt;
    return pesa + " y el servidor admite paquetes de " + std::to_string(limites.paquete_maximo) +
           " bytes (max_allowed_packet)";
}

std::optional<std::string> Revisar_Valores(const Solicitud_Timbrado& s,
                                           const std::vector<Valor_Timbrado>& valores,
                                           const std::vector<Documento_Fiscal>& documentos,
                                           const Limites_Central& limites) {
    for (const Valor_Timbrado& v : valores)
        if (!v.Numero)
            if (auto excedido = Texto_Excedido(limites, "Facturas_Electronicas",
                                               std::string(v.Columna), v.Valor))
                return excedido;
    for (const Documento_Fiscal& d : documentos)
        for (const auto& [columna, valor] :
             {std::pair{"Nombre_Archivo", d.Nombre_Archivo}, std::pair{"Titulo", d.Titulo},
              std::pair{"Descripcion", d.Descripcion}})
            if (auto excedido = Texto_Excedido(limites, "Comprobantes_Fiscales", columna, valor))
                return excedido;
    if (auto excedido = Texto_Excedido(limites, "Montos_Facturados", "Serie", s.Serie))
        return excedido;
    // The amount goes in as its shortest decimal text, which may round beyond what a double holds.
    const std::string importe = Formato_Importe_SQL(s.Total);
    const auto numero = Leer_Numero_en_Rango(importe);
    if (!numero || !limites.Cabe_Numero("Montos_Facturados", "Total", *numero))
        return "el monto " + importe + " no cabe en Montos_Facturados.Total";
    return std::nullopt;
}

}  // namespace facturador

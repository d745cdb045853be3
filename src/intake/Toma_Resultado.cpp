#include "intake/Toma_Resultado.h"

#include <tuple>
#include <utility>
#include <vector>

#include "data/Conexiones.h"
#include "data/Limites_Columnas.h"
#include "data/Log.h"
#include "intake/Actualizacion_Factura.h"
#include "intake/Almacen_Comprobantes.h"
#include "intake/Almacenabilidad.h"
#include "intake/Observaciones_Recepcion.h"
#include "intake/Verificacion_Resultado.h"
#include "platform/Documento_XML.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

constexpr long long kSegundos_Apartada = 15 * 60;
constexpr size_t kLargo_Detalle = 400;
constexpr size_t kLargo_Valor = 60;

enum class Motivo { Discrepancia, No_Almacenable };

Documento_Fiscal Documento(const Solicitud_Timbrado& s, const std::string& extension,
                           std::string contenido, const std::string& tipo) {
    // Two blanks after the type, then series and folio with nothing between them.
    return {s.ID_Factura,
            s.Archivo + extension,
            std::move(contenido),
            "Documento " + tipo + "  " + s.Serie + std::to_string(s.Folio),
            tipo,
            s.ID_Sucursal};
}

// Enters the request in its list and writes its line, the first time only.
void Anotar(const Solicitud_Timbrado& s, int32_t status, Motivo motivo,
            const std::string& detalle) {
    auto& o = Observaciones_Recepcion_Actuales();
    const bool discrepancia = motivo == Motivo::Discrepancia;
    (discrepancia ? o.No_Almacenables : o.Discrepancias).erase(s.ID);
    const Observacion_Solicitud observacion =
        Observacion_de(s, status, Una_Linea(detalle, kLargo_Detalle));
    if (!Anotar_Observacion(discrepancia ? o.Discrepancias : o.No_Almacenables, observacion))
        return;
    Escribir_Log(Inicio_Linea_Solicitud(observacion) +
                 (discrepancia ? "El resultado timbrado no corresponde a la solicitud y no se "
                                 "tomó; sus archivos quedan en su carpeta: "
                               : "El comprobante timbrado no cabe en la base de datos central y "
                                 "no se tomó: ") +
                 observacion.Detalle);
}

void Apartar(const Solicitud_Timbrado& s, int32_t status, Motivo motivo, const std::string& detalle,
             const Huella_Resultado& huella) {
    Seguimiento_Recepcion_Actual().Apartadas[s.ID] = {huella,
                                                      Sumar_Segundos(Ahora(), kSegundos_Apartada)};
    Anotar(s, status, motivo, detalle);
}

using Problema = std::pair<Motivo, std::string>;

// The bytes of both files of the result, each read once through one descriptor: what the checks
// read is what is stored. A file that is no regular file any more (swapped since it was looked
// at) does not match; one grown past the largest document cannot be stored.
std::optional<Problema> Leer_Documentos(const Rutas_Resultado& rutas, std::string& xml,
                                        std::string& pdf) {
    for (const auto& [ruta, bytes, cual] :
         {std::tuple{&rutas.XML, &xml, "el XML"}, std::tuple{&rutas.PDF, &pdf, "el PDF"}}) {
        try {
            Contenido_Archivo leido = Leer_Archivo_Regular(*ruta, kMaximo_Documento);
            if (!leido.Completo)
                return Problema{Motivo::No_Almacenable, std::string(cual) + " pesa más de los " +
                                                            std::to_string(kMaximo_Documento) +
                                                            " bytes que se leen de un comprobante"};
            *bytes = std::move(leido.Bytes);
        } catch (const Error_Plataforma& e) {
            if (e.Numero != kError_No_Regular)
                throw;
            return Problema{Motivo::Discrepancia, std::string(cual) + " no es un archivo regular"};
        }
    }
    return std::nullopt;
}

// Refused before with these very files and values, and not yet time to look again (a clock set
// back counts as time to look).
bool Sigue_Apartada(int32_t id, const Huella_Resultado& huella) {
    const auto& apartadas = Seguimiento_Recepcion_Actual().Apartadas;
    const auto it = apartadas.find(id);
    if (it == apartadas.end() || !(it->second.Huella == huella))
        return false;
    const Fecha_Hora ahora = Ahora();
    return ahora < it->second.Revisar_Desde &&
           Sumar_Segundos(ahora, kSegundos_Apartada) >= it->second.Revisar_Desde;
}

// The scan's query leaves the RFC out; only a request whose result is there needs it.
std::string Leer_RFC_Solicitud(int32_t id) {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    try {
        Recordset rs = conexion.Ejecutar("SELECT RFC FROM Solicitudes_de_Facturas_OL WHERE ID = " +
                                         std::to_string(id));
        Cerrar_Conexion(conexion);
        return rs.Fin() ? "" : rs.Texto(size_t{0});
    } catch (...) {
        Cerrar_Conexion(conexion);
        throw;
    }
}

void Avisar_Fuera_de_Rango(const Solicitud_Timbrado& s, int32_t status,
                           const std::vector<Valor_Timbrado>& valores) {
    for (const Valor_Timbrado& v : valores) {
        if (v.Fuera_de_Rango.empty())
            continue;
        const std::string aviso = "El valor '" + Una_Linea(v.Fuera_de_Rango, kLargo_Valor) +
                                  "' del comprobante timbrado no cabe en la columna " +
                                  std::string(v.Columna) + " de la factura; se guardó " + v.Valor +
                                  ".";
        if (Seguimiento_Recepcion_Actual().Avisos_Escritos.emplace(s.ID, aviso).second)
            Escribir_Log(Inicio_Linea_Solicitud(Observacion_de(s, status, "")) + aviso);
    }
}

}  // namespace

std::optional<Resultado_Tomado> Tomar_Resultado_Timbrado(const Solicitud_Timbrado& s,
                                                         const Rutas_Resultado& rutas,
                                                         const Entrada_Archivo& xml,
                                                         const Entrada_Archivo& pdf,
                                                         int32_t status) {
    const Huella_Resultado huella{xml, pdf, s.Serie, s.Folio, s.Total, s.ID_Factura};
    const auto refusar = [&](Motivo motivo, const std::string& problema) {
        Apartar(s, status, motivo, problema, huella);
        return std::nullopt;
    };
    if (Sigue_Apartada(s.ID, huella))
        return std::nullopt;
    if (const auto problema = Revisar_Archivos(xml, pdf))
        return refusar(Motivo::Discrepancia, *problema);
    const Limites_Central& limites = Limites_Columnas_Central();
    if (const auto problema = Revisar_Tamano_Documentos(xml.Tamano, pdf.Tamano, limites))
        return refusar(Motivo::No_Almacenable, *problema);
    std::string bytes_xml, bytes_pdf;
    if (const auto problema = Leer_Documentos(rutas, bytes_xml, bytes_pdf))
        return refusar(problema->first, problema->second);
    // One reading: the file's bytes decoded once, and what the gate compared is what is stored.
    const Texto_XML xml_leido = Decodificar_XML(bytes_xml);
    if (!xml_leido.Texto)
        return refusar(Motivo::Discrepancia, xml_leido.Problema);
    Comprobante_Leido comprobante;
    if (const auto problema =
            Revisar_Comprobante(*xml_leido.Texto, s, Leer_RFC_Solicitud(s.ID), comprobante))
        return refusar(Motivo::Discrepancia, *problema);
    const std::vector<Valor_Timbrado> valores = Leer_Valores_Timbrados(comprobante, limites);
    if (const auto problema = Revisar_Identidad(valores))
        return refusar(Motivo::Discrepancia, *problema);
    const std::vector<Documento_Fiscal> documentos = {
        Documento(s, ".pdf", std::move(bytes_pdf), "PDF"),
        Documento(s, ".xml", std::move(bytes_xml), "XML")};
    if (const auto problema = Revisar_Valores(s, valores, documentos, limites))
        return refusar(Motivo::No_Almacenable, *problema);
    for (const Documento_Fiscal& documento : documentos)
        Almacenar_Documento(documento);
    Avisar_Fuera_de_Rango(s, status, valores);
    Quitar_Observaciones_Resultado(s.ID);
    return Resultado_Tomado{Sentencias_Factura_Timbrada(valores, s.ID_Factura), huella};
}

void Apartar_No_Almacenable(const Solicitud_Timbrado& s, int32_t status, const std::string& detalle,
                            const Huella_Resultado& huella) {
    Apartar(s, status, Motivo::No_Almacenable, detalle, huella);
}

void Anotar_Discrepancia(const Solicitud_Timbrado& s, int32_t status, const std::string& detalle) {
    Anotar(s, status, Motivo::Discrepancia, detalle);
}

}  // namespace facturador

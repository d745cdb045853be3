#include "intake/Verificacion_Resultado.h"

#include "data/Formatos_Importe.h"
#include "data/Valores_Campo.h"
#include "intake/Observaciones_Recepcion.h"
#include "platform/Documento_XML.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

// A hostile value must neither break the log line nor flood it.
constexpr size_t kLargo_Mostrado = 60;

// Where each part is found: its local name and its depth (-1: any depth, the first one).
struct Lugar_Parte {
    std::string_view Nombre;
    int Nivel;
};

constexpr Lugar_Parte kLugares[] = {
    {"Comprobante", 0},
    {"Emisor", 1},
    {"Receptor", 1},
    {"Concepto", 2},
    {"Impuestos", 1},
    {"Traslado", -1},
    {"TimbreFiscalDigital", -1},
};
static_assert(std::size(kLugares) == static_cast<size_t>(Parte_Comprobante::Cuantas));

// The values that make a stamped XML its request's invoice, as the reading found them.
struct Identidad_Comprobante {
    std::string Serie;
    std::string Folio;
    std::string Total;
    std::string Rfc_Receptor;
    std::string UUID;
};

Identidad_Comprobante Identidad_de(const Comprobante_Leido& c) {
    using P = Parte_Comprobante;
    return {c.Atributo(P::Comprobante, "Serie"), c.Atributo(P::Comprobante, "Folio"),
            c.Atributo(P::Comprobante, "Total"), c.Atributo(P::Receptor, "Rfc"),
            c.Atributo(P::Timbre, "UUID")};
}

std::string Mostrar(const std::string& valor) {
    return "'" + Una_Linea(valor, kLargo_Mostrado) + "'";
}

bool Es_Hexadecimal(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The same amount: as numbers ("116.5" is "116.50"), or as texts where no double holds them. A
// Total that is missing or not a number never is: the invoice row could only take 0 for it.
bool Mismo_Importe(const std::string& a, const std::string& b) {
    if (!Leer_Numero(a) || !Leer_Numero(b))
        return false;
    const auto x = Leer_Numero_en_Rango(a);
    const auto y = Leer_Numero_en_Rango(b);
    return x && y ? *x == *y : Recortar(a) == Recortar(b);
}

void Comparar(std::string& diferencias, const char* que, const std::string& del_xml,
              const char* de_quien, const std::string& esperado, bool iguales) {
    if (iguales)
        return;
    diferencias += (diferencias.empty() ? "" : "; ") + std::string(que) + " del XML " +
                   Mostrar(del_xml) + ", " + de_quien + " " + Mostrar(esperado);
}

}  // namespace

std::optional<std::string> Revisar_Archivos(const Entrada_Archivo& xml,
                                            const Entrada_Archivo& pdf) {
    if (!xml.Regular)
        return "el XML no es un archivo regular";
    if (!pdf.Regular)
        return "el PDF no es un archivo regular";
    if (xml.Tamano == 0)
        return "el XML está vacío";
    if (pdf.Tamano == 0)
        return "el PDF está vacío";
    return std::nullopt;
}

std::string Comprobante_Leido::Atributo(Parte_Comprobante parte, std::string_view nombre) const {
    const auto& elemento = Partes[static_cast<size_t>(parte)];
    return elemento ? elemento->Atributo(nombre).value_or("") : "";
}

std::optional<std::string> Leer_Comprobante(std::string_view texto_xml, Comprobante_Leido& leido) {
    leido = {};
    const auto error = Recorrer_XML(texto_xml, [&](const Elemento_XML& e) {
        if (e.Nivel == 0)
            leido.Raiz = e.Nombre;
        for (size_t p = 0; p < std::size(kLugares); ++p)
            if (!leido.Partes[p] && e.Nombre == kLugares[p].Nombre &&
                (kLugares[p].Nivel < 0 || e.Nivel == kLugares[p].Nivel))
                leido.Partes[p] = e;
    });
    if (error)
        return "el XML no es un documento XML completo y bien formado: " + Sin_Controles(*error);
    return std::nullopt;
}

bool Es_UUID(std::string_view uuid) {
    constexpr std::string_view kForma = "########-####-####-####-############";
    if (uuid.size() != kForma.size())
        return false;
    for (size_t i = 0; i < kForma.size(); ++i)
        if (kForma[i] == '#' ? !Es_Hexadecimal(uuid[i]) : uuid[i] != kForma[i])
            return false;
    return true;
}

std::optional<std::string> Revisar_Comprobante(std::string_view texto_xml,
                                               const Solicitud_Timbrado& s,
                                               const std::string& rfc_solicitud,
                                               Comprobante_Leido& leido) {
    if (const auto error = Leer_Comprobante(texto_xml, leido))
        return error;
    if (leido.Raiz != "Comprobante")
        return "el XML no es un comprobante fiscal: su elemento raíz es " + Mostrar(leido.Raiz);
    const Identidad_Comprobante i = Identidad_de(leido);
    if (!Es_UUID(i.UUID))
        return "el XML no trae el UUID del timbre fiscal digital en la forma de un UUID: " +
               Mostrar(i.UUID);
    const std::string total_archivo = Formato_Importe_Archivo(s.Total);
    std::string diferencias;
    Comparar(diferencias, "Serie", i.Serie, "de la solicitud", s.Serie,
             Recortar(i.Serie) == Recortar(s.Serie));
    Comparar(diferencias, "Folio", i.Folio, "de la solicitud", std::to_string(s.Folio),
             Recortar(i.Folio) == std::to_string(s.Folio));
    Comparar(diferencias, "RFC del receptor", i.Rfc_Receptor, "de la solicitud", rfc_solicitud,
             Forma_Fiscal(i.Rfc_Receptor) == Forma_Fiscal(rfc_solicitud));
    Comparar(diferencias, "Total", i.Total, "del archivo para timbrar", total_archivo,
             Mismo_Importe(i.Total, total_archivo));
    if (!diferencias.empty())
        return diferencias;
    return std::nullopt;
}

}  // namespace facturador

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

// What the checks read from the stamped XML; absent attributes read as empty.
struct Datos_Comprobante {
    std::string Raiz;
    Identidad_Comprobante Identidad;
    bool Con_Timbre = false;
};

std::string Mostrar(const std::string& valor) {
    return "'" + Una_Linea(valor, kLargo_Mostrado) + "'";
}

void Tomar_Elemento(const Elemento_XML& e, Datos_Comprobante& d) {
    const auto atributo = [&](std::string_view nombre) { return e.Atributo(nombre).value_or(""); };
    Identidad_Comprobante& i = d.Identidad;
    if (e.Nivel == 0) {
        d.Raiz = e.Nombre;
        i.Serie = atributo("Serie");
        i.Folio = atributo("Folio");
        i.Total = atributo("Total");
    } else if (e.Nivel == 1 && e.Nombre == "Receptor") {
        i.Rfc_Receptor = atributo("Rfc");
    } else if (e.Nombre == "TimbreFiscalDigital" && !d.Con_Timbre) {
        d.Con_Timbre = true;
        i.UUID = atributo("UUID");
    }
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

std::optional<std::string> Revisar_Comprobante(std::string_view texto_xml,
                                               const Solicitud_Timbrado& s,
                                               const std::string& rfc_solicitud,
                                               Identidad_Comprobante& identidad) {
    Datos_Comprobante d;
    if (const auto error =
            Recorrer_XML(texto_xml, [&](const Elemento_XML& e) { Tomar_Elemento(e, d); }))
        return "el XML no es un documento XML completo y bien formado: " + Sin_Controles(*error);
    if (d.Raiz != "Comprobante")
        return "el XML no es un comprobante fiscal: su elemento raíz es " + Mostrar(d.Raiz);
    const Identidad_Comprobante& i = d.Identidad;
    if (Recortar(i.UUID).empty())
        return std::string("el XML no trae el UUID del timbre fiscal digital");
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
    identidad = i;
    return std::nullopt;
}

}  // namespace facturador

#include "Documento_PDF.h"

#include <fmt/format.h>

#include "platform/Texto.h"

namespace timbrador {

namespace {

constexpr double kMargen = 54;
constexpr double kAlto_Pagina = 792;
// Helvetica averages about half an em per character; this keeps a line inside the margins.
constexpr double kAncho_Util_En_Ems = (612 - 2 * kMargen) / 0.55;

// A PDF literal string in the code page of WinAnsiEncoding.
std::string Literal(const std::string& utf8, double tamano) {
    std::string bytes = facturador::A_Windows_1252(utf8);
    const size_t maximo = static_cast<size_t>(kAncho_Util_En_Ems / tamano);
    if (bytes.size() > maximo)
        bytes.resize(maximo);
    std::string r = "(";
    for (char c : bytes) {
        if (c == '(' || c == ')' || c == '\\')
            r += '\\';
        r += c;
    }
    return r + ")";
}

std::string Contenido(const std::vector<Linea_PDF>& lineas) {
    std::string s;
    double y = kAlto_Pagina - kMargen;
    for (const Linea_PDF& l : lineas) {
        y -= l.tamano * 1.35;
        if (l.texto.empty())
            continue;
        s += fmt::format("BT /{} {:g} Tf {:g} {:.2f} Td {} Tj ET\n", l.negrita ? "F2" : "F1",
                         l.tamano, kMargen, y, Literal(l.texto, l.tamano));
    }
    return s;
}

std::string Fuente(const char* nombre) {
    return fmt::format("<< /Type /Font /Subtype /Type1 /BaseFont /{} /Encoding /WinAnsiEncoding >>",
                       nombre);
}

}  // namespace

std::string Documento_PDF(const std::vector<Linea_PDF>& lineas) {
    const std::string contenido = Contenido(lineas);
    const std::vector<std::string> objetos = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
        "/Resources << /Font << /F1 4 0 R /F2 5 0 R >> >> /Contents 6 0 R >>",
        Fuente("Helvetica"),
        Fuente("Helvetica-Bold"),
        fmt::format("<< /Length {} >>\nstream\n{}endstream", contenido.size(), contenido),
    };
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> posiciones;
    for (size_t i = 0; i < objetos.size(); ++i) {
        posiciones.push_back(pdf.size());
        pdf += fmt::format("{} 0 obj\n{}\nendobj\n", i + 1, objetos[i]);
    }
    const size_t inicio_xref = pdf.size();
    pdf += fmt::format("xref\n0 {}\n0000000000 65535 f\r\n", objetos.size() + 1);
    for (size_t p : posiciones)
        pdf += fmt::format("{:010} 00000 n\r\n", p);
    pdf += fmt::format("trailer\n<< /Size {} /Root 1 0 R >>\nstartxref\n{}\n%%EOF\n",
                       objetos.size() + 1, inicio_xref);
    return pdf;
}

}  // namespace timbrador

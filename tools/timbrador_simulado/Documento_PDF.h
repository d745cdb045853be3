#pragma once

#include <string>
#include <vector>

namespace timbrador {

struct Linea_PDF {
    std::string texto;  // UTF-8; characters outside Windows-1252 print as "?"
    double tamano = 10;
    bool negrita = false;
};

// A one-page letter-size PDF 1.4 document with the lines written from the top down in Helvetica
// (WinAnsiEncoding), uncompressed, so that text extractors read it back. An empty text leaves a
// blank line; a line too long for the page is cut.
std::string Documento_PDF(const std::vector<Linea_PDF>& lineas);

}  // namespace timbrador

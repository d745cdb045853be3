#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace facturador {

// One start tag of an XML document, in UTF-8: the element's local name (without its prefix), its
// depth (0 for the root element) and its attributes by local name, their values decoded (entities
// and character references resolved). Namespace declarations are not among the attributes.
struct Elemento_XML {
    std::string Nombre;
    int Nivel = 0;
    std::vector<std::pair<std::string, std::string>> Atributos;

    // The value of the attribute with this local name (XML names are case-sensitive); nothing when
    // the element has none.
    std::optional<std::string> Atributo(std::string_view nombre) const;
};

// The characters of an XML document, in UTF-8, decoded from the encoding the document itself
// gives (XML 1.0, appendix F): its byte order mark (UTF-8, UTF-16 LE or BE), else the first bytes
// of "<?xml" in UTF-16 LE or BE, else the encoding of its XML declaration: UTF-8 (or none, or
// US-ASCII), or Windows-1252 (also when it says ISO-8859-1, read as Windows-1252 is). Anything
// else (UTF-32, an encoding it does not name truly, bytes that are not what it says) gives
// nothing, with why in `problema`.
struct Texto_XML {
    std::optional<std::string> Texto;
    std::string Problema;
};
Texto_XML Decodificar_XML(std::string_view bytes);

// Reads the whole document, already decoded (Decodificar_XML), and calls `visitar` for every
// start tag, in document order; the encoding its declaration names is not looked at again.
// Answers nothing for a well-formed document, otherwise why it is not (empty, cut short,
// malformed), with the line where reading stopped.
std::optional<std::string> Recorrer_XML(std::string_view texto_utf8,
                                        const std::function<void(const Elemento_XML&)>& visitar);

}  // namespace facturador

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

// Reads the whole document and calls `visitar` for every start tag, in document order. Answers
// nothing for a well-formed document, otherwise why it is not (empty, cut short, malformed),
// with the line where reading stopped.
std::optional<std::string> Recorrer_XML(std::string_view bytes,
                                        const std::function<void(const Elemento_XML&)>& visitar);

}  // namespace facturador

#pragma once

#include <string>
#include <string_view>

namespace facturador {

// Reads one attribute of a stamped CFDI by a plain text scan, not as XML, the way stamped invoices
// have always been read back (the values that land in the invoice row depend on it):
//  - lines end at a carriage return (CR LF is one end); a line feed alone does not end a line, so
//    a file with line feeds only is one line;
//  - the tag is looked for, without regard to case, until a line holds it; from then on that
//    line and every later one are examined only from the tag's character position on;
//  - the attribute is the first occurrence of a blank followed by its name, without regard to
//    case, so it also matches a longer name that begins with it; its value starts the name's
//    length plus 3 characters after the blank (name, '=' and '"') and ends at the next '"'.
// Answers the empty text when the tag or the attribute is not found. The value comes back as found
// (no trimming, no entity decoding), as UTF-8. The scan runs over the file's characters, decoded
// from the encoding it gives itself (Decodificar_XML): a missing or unreadable file, or one that
// cannot be decoded, is an Error_Plataforma.
std::string Leer_Atributo_XML(const std::string& ruta, std::string_view etiqueta,
                              std::string_view atributo);

// The characters of the XML file, decoded from the encoding it gives itself (Decodificar_XML). A
// missing or unreadable file, or one that cannot be decoded, is an Error_Plataforma.
std::string Leer_Texto_XML(const std::string& ruta);

// The same scan over a text already decoded; bytes that are not valid UTF-8 are read as
// Windows-1252.
std::string Buscar_Atributo_XML(std::string_view contenido, std::string_view etiqueta,
                                std::string_view atributo);

}  // namespace facturador

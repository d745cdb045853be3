#pragma once

#include <string>

namespace facturador {

// The characters of a stamped XML file, decoded from the encoding it gives itself
// (Decodificar_XML), read as Leer_Archivo_Regular reads (never a link or a pipe) and no further
// than the largest document the intake takes (kMaximo_Documento). A missing or unreadable file,
// one larger than that, or one that cannot be decoded, is an Error_Plataforma.
std::string Leer_Texto_XML(const std::string& ruta);

}  // namespace facturador

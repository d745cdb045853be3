#pragma once

#include <string>

namespace timbrador::pruebas {

// A file to stamp as the facturador writes it (Windows-1252, CR LF): invoice A 1501 for 116.00,
// issuer TCO010101AB1 with LugarExpedicion 06000, receiver PEÑJ800101AB1 "Juan Peña Güemes" with
// postal code 03100 and UsoCFDI G03. When `linea` is given, that whole line is replaced by `por`.
std::string Texto_para_Timbrar(const std::string& linea = "", const std::string& por = "");

}  // namespace timbrador::pruebas

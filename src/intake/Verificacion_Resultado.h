#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "intake/Solicitud_Timbrado.h"
#include "platform/Archivos.h"

namespace facturador {

// A result is taken in only if it is a stamped invoice and belongs to its request: anything else
// (a link to some other file, an empty or cut-short XML, another folio's invoice) is left where it
// is. Each check answers why the result does not qualify, in one line with both values, or
// nothing when it does.

// The XML and the PDF are plain files (a symbolic link is not taken in) and not empty.
std::optional<std::string> Revisar_Archivos(const Entrada_Archivo& xml, const Entrada_Archivo& pdf);

// The XML is well-formed, carries the stamp's UUID, and is the request's invoice: its Serie and
// Folio are the request's, its receiver's Rfc is the request's RFC (blanks at the ends and the
// case of letters aside) and its Total is the one written in the file to stamp.
std::optional<std::string> Revisar_Comprobante(std::string_view contenido_xml,
                                               const Solicitud_Timbrado& solicitud,
                                               const std::string& rfc_solicitud);

}  // namespace facturador

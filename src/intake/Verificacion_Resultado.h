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

// The values that make a stamped XML its request's invoice, as the XML reader read them (absent
// attributes as empty). They go to the invoice row as read here: the values checked are the
// values stored.
struct Identidad_Comprobante {
    std::string Serie;
    std::string Folio;
    std::string Total;
    std::string Rfc_Receptor;
    std::string UUID;
};

// The XML (its text, decoded by Decodificar_XML: one that cannot be decoded is refused before
// anything of it is read) is well-formed, carries the stamp's UUID, and is the request's
// invoice: its Serie and Folio are the request's, its receiver's Rfc is the request's RFC (blanks
// at the ends and the case of letters aside) and its Total, a number, is the one written in the
// file to stamp. On success `identidad` holds what was compared.
std::optional<std::string> Revisar_Comprobante(std::string_view texto_xml,
                                               const Solicitud_Timbrado& solicitud,
                                               const std::string& rfc_solicitud,
                                               Identidad_Comprobante& identidad);

}  // namespace facturador

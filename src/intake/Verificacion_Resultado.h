#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "intake/Solicitud_Timbrado.h"
#include "platform/Archivos.h"
#include "platform/Documento_XML.h"

namespace facturador {

// A result is taken in only if it is a stamped invoice and belongs to its request: anything else
// (a link to some other file, an empty or cut-short XML, another folio's invoice) is left where it
// is. Each check answers why the result does not qualify, in one line with both values, or
// nothing when it does.

// The XML and the PDF are plain files (a symbolic link is not taken in) and not empty.
std::optional<std::string> Revisar_Archivos(const Entrada_Archivo& xml, const Entrada_Archivo& pdf);

// The elements of a stamped CFDI that the checks and the invoice row read: the first of each, by
// its local name, at the depth it has in a CFDI (any depth for the transferred tax and the stamp).
enum class Parte_Comprobante : size_t {
    Comprobante,  // the root
    Emisor,
    Receptor,
    Concepto,   // the first concept
    Impuestos,  // the invoice's own taxes, not a concept's
    Traslado,   // the first transferred tax: the first concept's
    Timbre,     // the first TimbreFiscalDigital
    Cuantas
};

// A stamped XML as the XML reader read it, once: what the result's checks compare and what the
// invoice row stores come from here and nowhere else (never from inside a comment, a text or an
// element of another name).
struct Comprobante_Leido {
    std::string Raiz;  // the root element's local name
    std::array<std::optional<Elemento_XML>, static_cast<size_t>(Parte_Comprobante::Cuantas)> Partes;

    // The attribute's value, decoded; empty when the element or the attribute is absent.
    std::string Atributo(Parte_Comprobante parte, std::string_view nombre) const;
};

// Reads the XML's text (decoded by Decodificar_XML) into `leido`. Answers why it is not a
// complete, well-formed document, or nothing.
std::optional<std::string> Leer_Comprobante(std::string_view texto_xml, Comprobante_Leido& leido);

// The XML (its text, decoded by Decodificar_XML: one that cannot be decoded is refused before
// anything of it is read) is well-formed, carries the stamp's UUID in the form the tax authority's
// schema of the stamp gives it, and is the request's invoice: its Serie and Folio are the
// request's, its receiver's Rfc is the request's RFC (blanks at the ends and the case of letters
// aside) and its Total, a number, is the one written in the file to stamp. On success `leido`
// holds the reading the checks compared, for the invoice row to store.
std::optional<std::string> Revisar_Comprobante(std::string_view texto_xml,
                                               const Solicitud_Timbrado& solicitud,
                                               const std::string& rfc_solicitud,
                                               Comprobante_Leido& leido);

// True for a UUID as the stamp's schema (TimbreFiscalDigital 1.1) gives it: 36 characters, five
// groups of 8, 4, 4, 4 and 12 hexadecimal digits joined by hyphens.
bool Es_UUID(std::string_view uuid);

}  // namespace facturador

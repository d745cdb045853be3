#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace facturador {

// The rules the receiver of a request and the issuer of a branch's profile are both held to, each
// over a value already in its checked form (Forma_Fiscal, Forma_Nombre). A reason names the field
// as its check calls it ("Régimen fiscal" "del receptor", "Régimen Fiscal" "del emisor") and shows
// the value at fault within a length that keeps the reason whole in Resultado's 199 characters.
struct Campo_Fiscal {
    const char* Nombre;
    const char* De;
};

using Motivo_Fiscal = std::optional<std::string>;

// A value as a reason shows it: "(vacío)" when empty, cut to 50 characters with "…" when longer.
std::string Valor_en_Motivo(std::string_view valor);

// The RFC's shape (Forma_RFC.h).
Motivo_Fiscal Motivo_RFC(Campo_Fiscal campo, const std::string& rfc);

// A name (Forma_Nombre) that is not blank, that the file to stamp can carry as it is (every
// character in Windows-1252, no control character, no "|", which the pattern [^|]{1,300} of Nombre
// in cfdv40.xsd refuses) and, for a company (an RFC of 12 characters), that does not end in its
// company type: persons and the generic RFCs are never held to that rule.
Motivo_Fiscal Motivo_Nombre(Campo_Fiscal campo, const std::string& nombre, const std::string& rfc);

// RegimenFiscal: a code of c_RegimenFiscal that applies to the kind of person the RFC names.
Motivo_Fiscal Motivo_Regimen(Campo_Fiscal campo, const std::string& regimen,
                             const std::string& rfc);

}  // namespace facturador

#pragma once

#include <string_view>

namespace facturador {

// The generic RFCs of the tax authority's rules (Resolución Miscelánea Fiscal, regla 2.7.1.23):
// a national customer without an RFC, and a foreign one.
inline constexpr std::string_view kRFC_Publico_General = "XAXX010101000";
inline constexpr std::string_view kRFC_Extranjero = "XEXX010101000";

// Whether an RFC, already in its checked form (Forma_Fiscal), has the shape the tax authority
// accepts: 12 characters for a company, 13 for a person (see Forma_RFC.cpp).
bool Es_RFC_Valido(std::string_view rfc);

// Whether a well-shaped RFC is a person's (13 characters) rather than a company's (12).
bool Es_RFC_Persona_Fisica(std::string_view rfc);

// "física" or "moral", the kind of person a well-shaped RFC names, as the reasons say it.
const char* Tipo_Persona(std::string_view rfc);

// Whether the RFC is one of the two generic ones.
bool Es_RFC_Generico(std::string_view rfc);

}  // namespace facturador

#pragma once

#include <string_view>

namespace facturador {

// Whether a receiver's RFC, already trimmed and in upper case, has the shape the tax authority
// accepts: 12 characters for a company, 13 for a person (see Forma_RFC.cpp).
bool Es_RFC_Valido(std::string_view rfc);

// Whether a well-shaped RFC is a person's (13 characters) rather than a company's (12).
bool Es_RFC_Persona_Fisica(std::string_view rfc);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <string>

namespace facturador {

// Rejects a request (status 4) with the reason cleaned of apostrophes and double quotes and
// trimmed (the caller's text is replaced by the cleaned one), storing its first 199 characters,
// and voids the amounts recorded for it, both in one unit of work fenced by the lease. Runs on a
// connection of its own; failures go to the caller.
void Rechazar_Solicitud(int32_t id_solicitud, std::string& motivo);

// The text without apostrophes, trimmed of blanks.
std::string Texto_Sin_Tilde(const std::string& texto);
// The text without double quotes, trimmed of blanks.
std::string Texto_Sin_Comillas(const std::string& texto);
// The first `cantidad` characters of a UTF-8 text (never half a character).
std::string Primeros_Caracteres(const std::string& texto, size_t cantidad);

}  // namespace facturador

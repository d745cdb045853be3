#pragma once

#include <optional>
#include <string>

#include "issuing_config/Datos_Emision.h"

namespace facturador {

// The issuer's data of a profile that the file to stamp carries, in the form the profile's check
// reads them and the file writes them: codes in Forma_Fiscal, the name in Forma_Nombre.
struct Emisor_Verificado {
    std::string RFC;
    std::string Nombre;
    std::string Regimen;
    std::string Lugar_Expedicion;
};

Emisor_Verificado Forma_Emisor(const Datos_Emision& perfil);

// Why the tax authority would refuse every invoice issued with this profile, naming the field by
// the caption of its box in the configuration window, or nothing. Only the first rule that fails
// is told, in the order of Validacion_Perfil.cpp. The series is held to Serie_Valida; an empty one
// passes (a branch without series is told apart where a folio is taken).
std::optional<std::string> Motivo_Perfil_Invalido(const Datos_Emision& perfil);

}  // namespace facturador

#pragma once

#include <optional>
#include <string>

#include "generation/Solicitudes.h"

namespace facturador {

// The receiver's data that the file to stamp carries, and the branch's place of issue
// (LugarExpedicion), as they come: the check trims them and reads them in upper case.
struct Datos_Fiscales_Receptor {
    std::string RFC;
    std::string Nombre;
    std::string Codigo_Postal;
    std::string Regimen_Fiscal;
    std::string Uso;
    std::string Lugar_Expedicion;
};

// Why the tax authority would refuse an invoice to this receiver, in the customer's words, or
// nothing. Only the first rule that fails is told, in the fixed order of Validacion_Fiscal.cpp.
std::optional<std::string> Motivo_Rechazo_Fiscal(const Datos_Fiscales_Receptor& datos);

// Whether a request's fiscal data may go to stamping, in the form of the amount check: on false,
// `motivo` tells why. The place of issue is the branch's in its loaded issuing profile.
bool Validar_Datos_Fiscales(const Solicitud_Factura& solicitud, std::string& motivo);

}  // namespace facturador

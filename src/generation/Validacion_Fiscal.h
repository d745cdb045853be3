#pragma once

#include <optional>
#include <string>

#include "generation/Solicitudes.h"

namespace facturador {

// The request's fiscal data that the file to stamp carries, the payment form (FormaPago, the
// request's Metodo) among them, and the branch's place of issue (LugarExpedicion), as they come.
struct Datos_Fiscales_Receptor {
    std::string RFC;
    std::string Nombre;
    std::string Codigo_Postal;
    std::string Regimen_Fiscal;
    std::string Uso;
    std::string Lugar_Expedicion;
    std::string Forma_Pago = "99";
    double Total = 0;
};

// The same data in the one form the check reads and the file to stamp writes: the codes in
// Forma_Fiscal (no blank of any kind at the ends, composed accents, upper case), the name in
// Forma_Nombre (the same but its letters as typed, inner runs of blanks made one).
struct Receptor_Verificado {
    std::string RFC;
    std::string Nombre;
    std::string Codigo_Postal;
    std::string Regimen;
    std::string Uso;
    std::string Lugar_Expedicion;
    std::string Forma_Pago;
    double Total = 0;
};

Receptor_Verificado Forma_Receptor(const Datos_Fiscales_Receptor& datos);

// A request's fiscal data, with its branch's place of issue.
Datos_Fiscales_Receptor Datos_Fiscales_de(const Solicitud_Factura& solicitud,
                                          const std::string& lugar_expedicion);

// Why the tax authority would refuse an invoice to this receiver, in the customer's words, or
// nothing. Only the first rule that fails is told, in the fixed order of Validacion_Fiscal.cpp.
std::optional<std::string> Motivo_Rechazo_Fiscal(const Datos_Fiscales_Receptor& datos);

// Whether a request's fiscal data may go to stamping, in the form of the amount check: on false,
// `motivo` tells why. The place of issue is the branch's in its loaded issuing profile.
bool Validar_Datos_Fiscales(const Solicitud_Factura& solicitud, std::string& motivo);

}  // namespace facturador

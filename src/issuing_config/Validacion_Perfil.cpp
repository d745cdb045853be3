#include "issuing_config/Validacion_Perfil.h"

#include "issuing_config/Codigos_Postales.h"
#include "issuing_config/Forma_RFC.h"
#include "issuing_config/Reglas_Fiscales.h"
#include "issuing_config/Serie_Facturas.h"
#include "platform/Texto.h"
#include "platform/Texto_Unicode.h"

namespace facturador {

namespace {

constexpr Campo_Fiscal kRFC{"R.F.C.", "del emisor"};
constexpr Campo_Fiscal kRazon_Social{"Razón Social", "del emisor"};
constexpr Campo_Fiscal kRegimen{"Régimen Fiscal", "del emisor"};

// Emisor › Rfc: the tax authority's shape, and never a generic RFC, which no issuer has.
Motivo_Fiscal Regla_RFC(const Emisor_Verificado& e, const Datos_Emision&) {
    if (Es_RFC_Generico(e.RFC))
        return "R.F.C. del emisor no puede ser el genérico " + e.RFC;
    return Motivo_RFC(kRFC, e.RFC);
}

Motivo_Fiscal Regla_Razon_Social(const Emisor_Verificado& e, const Datos_Emision&) {
    return Motivo_Nombre(kRazon_Social, e.Nombre, e.RFC);
}

Motivo_Fiscal Regla_Regimen(const Emisor_Verificado& e, const Datos_Emision&) {
    return Motivo_Regimen(kRegimen, e.Regimen, e.RFC);
}

// LugarExpedicion: a code of c_CodigoPostal (the provider refuses any other), which also gives
// the time zone the invoice is dated in.
Motivo_Fiscal Regla_Lugar_Expedicion(const Emisor_Verificado& e, const Datos_Emision&) {
    if (Lugar_de_Codigo_Postal(e.Lugar_Expedicion))
        return std::nullopt;
    return "C.P. del Domicilio de Expedición no existe en el catálogo c_CodigoPostal del SAT: " +
           Valor_en_Motivo(e.Lugar_Expedicion);
}

Motivo_Fiscal Regla_Serie(const Emisor_Verificado&, const Datos_Emision& perfil) {
    if (Serie_Valida(perfil.Serie_Facturas))
        return std::nullopt;
    return kMotivo_Serie_Invalida;
}

// The RFC first: the kind of person it names decides the name's and the regime's rules.
constexpr Motivo_Fiscal (*kReglas[])(const Emisor_Verificado&, const Datos_Emision&) = {
    Regla_RFC, Regla_Razon_Social, Regla_Regimen, Regla_Lugar_Expedicion, Regla_Serie,
};

}  // namespace

Emisor_Verificado Forma_Emisor(const Datos_Emision& perfil) {
    return {Forma_Fiscal(perfil.RFC_Emisor), Forma_Nombre(perfil.Razon_Social_Emisor),
            Forma_Fiscal(perfil.Regimen_Fiscal_Facturas),
            Forma_Fiscal(perfil.CP_Domicilio_Expedicion)};
}

std::optional<std::string> Motivo_Perfil_Invalido(const Datos_Emision& perfil) {
    const Emisor_Verificado emisor = Forma_Emisor(perfil);
    for (const auto regla : kReglas)
        if (auto motivo = regla(emisor, perfil))
            return motivo;
    return std::nullopt;
}

}  // namespace facturador

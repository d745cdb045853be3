#include "issuing_config/Reglas_Fiscales.h"

#include "data/Rechazo_Solicitud.h"
#include "issuing_config/Catalogos_CFDI.h"
#include "issuing_config/Forma_RFC.h"
#include "issuing_config/Regimen_Societario.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr size_t kLargo_Valor_en_Motivo = 50;

std::string Sujeto(Campo_Fiscal campo) {
    return std::string(campo.Nombre) + " " + campo.De;
}

}  // namespace

std::string Valor_en_Motivo(std::string_view valor) {
    if (valor.empty())
        return "(vacío)";
    const std::string texto(valor);
    const std::string corto = Primeros_Caracteres(texto, kLargo_Valor_en_Motivo);
    return corto.size() < texto.size() ? corto + "…" : texto;
}

Motivo_Fiscal Motivo_RFC(Campo_Fiscal campo, const std::string& rfc) {
    if (Es_RFC_Valido(rfc))
        return std::nullopt;
    return Sujeto(campo) + " con formato inválido: " + Valor_en_Motivo(rfc);
}

Motivo_Fiscal Motivo_Nombre(Campo_Fiscal campo, const std::string& nombre, const std::string& rfc) {
    if (nombre.empty())
        return Sujeto(campo) + " en blanco";
    if (!Cabe_en_Windows_1252(nombre) || Sin_Controles(nombre) != nombre ||
        nombre.find('|') != std::string::npos)
        return Sujeto(campo) +
               " con caracteres que no se pueden timbrar: " + Valor_en_Motivo(nombre);
    if (Es_RFC_Persona_Fisica(rfc))
        return std::nullopt;
    const auto regimen = Regimen_Societario_Final(nombre);
    if (!regimen)
        return std::nullopt;
    return Sujeto(campo) + " con el régimen societario " + *regimen +
           ", que en CFDI 4.0 se omite: " + Valor_en_Motivo(nombre);
}

Motivo_Fiscal Motivo_Regimen(Campo_Fiscal campo, const std::string& regimen,
                             const std::string& rfc) {
    const auto& regimenes = Catalogos_CFDI_Vigentes().Regimenes;
    const auto entrada = regimenes.find(regimen);
    if (entrada == regimenes.end())
        return Sujeto(campo) + " no existe en el catálogo: " + Valor_en_Motivo(regimen);
    if (!Aplica_a_RFC(entrada->second.Aplica, rfc))
        return std::string(campo.Nombre) + " " + regimen + " " + campo.De +
               " no aplica a persona " + Tipo_Persona(rfc) + " (RFC " + rfc + ")";
    return std::nullopt;
}

}  // namespace facturador

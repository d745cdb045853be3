#pragma once

#include <cstdint>
#include <set>

namespace facturador {

// The branches whose loaded issuing profile the tax authority would refuse
// (Motivo_Perfil_Invalido), or whose time zone set by hand does not fit their place of issue
// (Motivo_Sucursal_Detenida): no request of theirs is sent to stamping, so none spends a folio, and
// they wait in status 1, for it is not the customer's fault. The daily log tells why once per
// branch while the reason stays the same, and once more when the profile is corrected.
std::set<int32_t> Revisar_Perfiles_de_Emision();

}  // namespace facturador

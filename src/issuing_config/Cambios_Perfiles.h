#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Zona_Sucursal.h"
#include "platform/Conexion.h"

namespace facturador {

// Profiles and zone overrides are edited outside the copy that issues with them: in another
// copy's configuration window, by --carpetas-sucursal, or by an administrator with SQL. Each cycle
// compares a fingerprint of those few rows with the one of the last load, and reloads only when
// it differs, so an edit is used from the next cycle on without a restart.

// One short text that changes whenever any profile (every column the program reads, but the next
// folio, which the pass reads from the database itself and advances with every invoice) or any
// zone override changes, appears or goes. Two statements on `conexion`, one row each; a missing
// Zonas_Horarias_Sucursales counts as empty.
std::string Leer_Huella_Perfiles(Conexion& conexion);

// The profiles and zone overrides (Leer_Datos_de_Emision) when their fingerprint is not `conocida`
// (the last load's, Huella_Datos_de_Emision); nothing when it is. Touches nothing of the
// program's state.
std::optional<Lectura_Datos_Emision> Leer_Perfiles_Cambiados(Conexion& conexion,
                                                             const std::string& conocida);

// Reloads the profiles when their fingerprint is not that of the last load; answers whether it
// did. A failure reaches the caller with the loaded profiles unchanged.
bool Tomar_Perfiles_Cambiados(Conexion& conexion);

// What a reload leaves behind to compare with: each branch's loaded profile and zone.
struct Perfiles_Anteriores {
    std::vector<Datos_Emision> perfiles;
    std::map<int32_t, Zona_Sucursal> zonas;
};
Perfiles_Anteriores Perfiles_Antes_de_Recargar();

// Writes "Se tomó el perfil nuevo de la sucursal N (nombre)." once for each branch whose profile or
// zone is no longer what `antes` holds, followed on the same line by its zone (Texto_Zona_Sucursal)
// when that changed.
void Anotar_Perfiles_Nuevos(const Perfiles_Anteriores& antes);

}  // namespace facturador

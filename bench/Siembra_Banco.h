#pragma once

#include <string>

#include "platform/Conexion.h"

namespace facturador {

// Five branches, each with its cola/, validas/ and no_validas/ folders under `carpeta` and an
// issuing profile (series S1 … S5, first folio 1) whose data the stamping program accepts.
inline constexpr int kSucursales_Banco = 5;
void Sembrar_Sucursales(Conexion& conexion, const std::string& carpeta);
// Pending requests numbered from `primero`, each on a valid ticket of its own, spread over the
// five branches, inserted in batches.
void Sembrar_Solicitudes(Conexion& conexion, int primero, int cantidad);
void Vaciar_Tablas_Centrales(Conexion& conexion);
// The first field of the first row as a number (0 when there is none).
long long Contar(Conexion& conexion, const std::string& sql);

}  // namespace facturador

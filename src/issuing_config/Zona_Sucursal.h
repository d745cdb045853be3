#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "issuing_config/Datos_Emision.h"
#include "platform/Conexion.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// Where a branch's local time comes from.
enum class Origen_Zona { Codigo_Postal, Ajuste, Maquina };

// The time zone a branch's invoices are dated in. CFDI 4.0 dates an invoice in the local time of
// its place of issue (Anexo 20 versión 4.0, Comprobante › Fecha: "debe corresponder con la hora
// local donde se expide el comprobante"), and the stamping provider refuses a date later than the
// stamping moment in that place (catálogo c_CodigoPostal, "Descripción del Huso Horario").
struct Zona_Sucursal {
    std::string Zona;  // IANA name; for Origen_Zona::Maquina, the machine's when it was chosen
    Origen_Zona Origen = Origen_Zona::Maquina;
    std::string Codigo_Postal;  // the place of issue, trimmed
    // What was refused on the way to the zone, for the daily log and --estado; empty when nothing.
    std::string Aviso;

    bool operator==(const Zona_Sucursal&) const = default;
};

// Branch → the zone set for it in Zonas_Horarias_Sucursales, as stored.
using Ajustes_Zona = std::map<int32_t, std::string>;

// The zone of a branch: the one set for it in `ajustes` when the system's tzdata has it, else that
// of its place-of-issue postal code (Zona_de_Codigo_Postal) when tzdata has it, else the machine's
// (`zona_maquina`). An override tzdata does not have is never used, and Aviso says so.
Zona_Sucursal Elegir_Zona_Sucursal(const Datos_Emision& perfil, const Ajustes_Zona& ajustes,
                                   const std::string& zona_maquina);

// The zones of Zonas_Horarias_Sucursales; none when the table is missing (start-up creates it, and
// logs why when it cannot). Any other failure reaches the caller.
Ajustes_Zona Leer_Ajustes_Zona(Conexion& conexion);

// Chooses and keeps the zone of each profile (the first one of a branch).
void Fijar_Zonas_Sucursales(const std::vector<Datos_Emision>& perfiles,
                            const Ajustes_Zona& ajustes);

// Writes to the daily log each branch's zone that is not the one written before: every branch the
// first time, later only one whose zone changed.
void Anotar_Zonas_Sucursales();

// The branch's zone as last chosen; the machine's for a branch without a profile.
Zona_Sucursal Zona_de_Sucursal(int32_t id_sucursal);

// The branch's local date and time now: the date and time of its invoices.
Fecha_Hora Ahora_en_Sucursal(int32_t id_sucursal);

// "Sucursal 3 (Centro): zona horaria America/Tijuana por el código postal 22000", and what was
// refused on the way, if anything.
std::string Texto_Zona_Sucursal(int32_t id_sucursal, const std::string& nombre,
                                const Zona_Sucursal& zona);

void Reiniciar_Zonas_Sucursales();

}  // namespace facturador

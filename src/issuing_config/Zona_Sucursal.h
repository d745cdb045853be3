#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Hora_Lugar.h"
#include "issuing_config/Zonas_Horarias.h"
#include "platform/Conexion.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// Where a branch's legal zone comes from.
enum class Origen_Zona { Codigo_Postal, Ajuste, Ninguno };

// The time a branch's invoices are dated in. CFDI 4.0 dates an invoice in the local time of its
// place of issue (Anexo 20 versión 4.0, Comprobante › Fecha: "debe corresponder con la hora local
// donde se expide el comprobante"), and the stamping provider refuses a date later than the
// stamping moment there, by the row that the catalogue c_CodigoPostal gives the place of issue.
struct Zona_Sucursal {
    std::string Zona;  // the legal IANA zone; empty when none can be used
    Origen_Zona Origen = Origen_Zona::Ninguno;
    std::string Codigo_Postal;        // the place of issue, trimmed
    std::optional<Zona_Lugar> Lugar;  // where that code is, when it says
    // Why the branch may not issue (a zone set for it that does not fit its place, or one tzdata
    // lacks); empty when nothing stands in the way. Its requests wait in status 1 meanwhile.
    std::string Falla;

    bool operator==(const Zona_Sucursal&) const = default;
};

// Branch → the zone set for it in Zonas_Horarias_Sucursales, as stored.
using Ajustes_Zona = std::map<int32_t, std::string>;

// The zone of a branch, from its profile's place of issue, the zone set for it in `ajustes` and
// the catalogue compiled in, and nothing else: it can be chosen again at any time. A zone set for
// the branch is used only when tzdata has it and the branch's state can legally keep it; any
// other holds the branch (Falla) and the place's own zone stays for its other dates.
Zona_Sucursal Elegir_Zona_Sucursal(const Datos_Emision& perfil, const Ajustes_Zona& ajustes);

// The two reckonings of the branch's local time.
Relojes_Lugar Relojes_de(const Zona_Sucursal& zona);

// Why a branch with this profile and zone may issue nothing, or nothing: its profile's fault
// (Motivo_Perfil_Invalido) first, then its zone's.
std::optional<std::string> Motivo_Sucursal_Detenida(const Datos_Emision& perfil,
                                                    const Zona_Sucursal& zona);

// The zones of Zonas_Horarias_Sucursales; none when the table is missing (start-up creates it, and
// logs why when it cannot). Any other failure reaches the caller.
Ajustes_Zona Leer_Ajustes_Zona(Conexion& conexion);

// Chooses and keeps the zone of each profile (the first one of a branch).
void Fijar_Zonas_Sucursales(const std::vector<Datos_Emision>& perfiles,
                            const Ajustes_Zona& ajustes);
// Chooses again and keeps the zone of one branch.
void Fijar_Zona_Sucursal(const Datos_Emision& perfil, const Ajustes_Zona& ajustes);

// Writes to the daily log each branch's zone that is not the one written before: every branch the
// first time, later only one whose zone changed.
void Anotar_Zonas_Sucursales();

// The branch's zone as last chosen; none (the machine's time) for a branch without a profile.
Zona_Sucursal Zona_de_Sucursal(int32_t id_sucursal);
Relojes_Lugar Relojes_Sucursal(int32_t id_sucursal);

// The branch's local date and time now, no later than now in either reckoning: the date and time
// of its invoices and of every row and note that records them, whatever process writes them.
Fecha_Hora Ahora_en_Sucursal(int32_t id_sucursal);

// "Sucursal 3 (Centro): zona horaria America/Ciudad_Juarez por el código postal 32000 (Chihuahua,
// municipio 037)", the catalogue's reckoning where it differs from the legal one in the coming
// year, and why the branch may not issue, if it may not.
std::string Texto_Zona_Sucursal(int32_t id_sucursal, const std::string& nombre,
                                const Zona_Sucursal& zona);

// The catalogue's reckoning of the branch's place, "Tiempo del Centro en Frontera (verano UTC-7,
// invierno UTC-6)", when it shows another time than the legal zone at some moment of the coming
// year; empty when they agree.
std::string Huso_Distinto(const Zona_Sucursal& zona);

void Reiniciar_Zonas_Sucursales();

}  // namespace facturador

#include "generation/Revision_Perfiles.h"

#include <map>
#include <string>

#include "data/Sucursales.h"
#include "generation/Estado_Generacion.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Zona_Sucursal.h"

namespace facturador {

namespace {

std::string Sucursal_en_Log(int32_t id) {
    return "Sucursal " + std::to_string(id) + " (" + Nombre_Sucursal(id) + "): ";
}

// The reason of each branch whose profile, or the zone chosen with it, is at fault; only a
// branch's first profile counts, as it is the one the pass issues with (Obtener_Datos_Emision).
std::map<int32_t, std::string> Perfiles_con_Falla() {
    std::map<int32_t, std::string> fallas;
    std::set<int32_t> vistas;
    for (const Datos_Emision& perfil : Datos_Emision_Sucursales()) {
        if (!vistas.insert(perfil.ID_Sucursal).second)
            continue;
        if (auto motivo = Motivo_Sucursal_Detenida(perfil, Zona_de_Sucursal(perfil.ID_Sucursal)))
            fallas.emplace(perfil.ID_Sucursal, *motivo);
    }
    return fallas;
}

}  // namespace

std::set<int32_t> Revisar_Perfiles_de_Emision() {
    std::set<int32_t> sucursales;
    // Keyed by the reason too: a profile mended into another fault is told at once, and the
    // fault it no longer has clears when the pass ends.
    for (const auto& [id, motivo] : Perfiles_con_Falla()) {
        sucursales.insert(id);
        Avisar_Falla_Repetida("sucursal " + std::to_string(id), "perfil: " + motivo,
                              Sucursal_en_Log(id) +
                                  "no se envía a timbrar ninguna solicitud mientras su perfil de "
                                  "emisión tenga este error: " +
                                  motivo);
    }
    return sucursales;
}

}  // namespace facturador

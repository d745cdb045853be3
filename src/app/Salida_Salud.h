#pragma once

#include <string>

#include "app/Salud.h"

namespace facturador {

// The health report for a person or a monitoring plugin: the first line is the status line
// ("FACTURADOR ADVERTENCIA - <first reason>"), then the other reasons, the last successful cycle,
// a table of the branches and their total, and the intake's observations.
std::string Salud_En_Texto(const Informe_Salud& informe);

// The same report as one JSON object (UTF-8, one line): "estado" ("bien", "advertencia",
// "critico", "desconocido"), "codigo", "ahora", "motivos", "ultimo_ciclo_exitoso", "total",
// "sucursales" and "observaciones". Times are "yyyy-mm-ddThh:mm:ss" in local time; what is not
// known is null.
std::string Salud_En_JSON(const Informe_Salud& informe);

// The exit status of --estado.
inline int Codigo_Salida(Estado_Salud estado) {
    return static_cast<int>(estado);
}

}  // namespace facturador

#pragma once

#include <string>

#include "data/Configuracion.h"

namespace facturador {

// The three time lines of the main window, as Mostrar_Datos writes them.
struct Textos_Horas {
    std::string Hora_Ultima;          // lblHora_Ultima
    std::string Hora_Ultima_Exitosa;  // lblHora_Ultima_Exitosa
    std::string Hora_Siguiente;       // lblHora_Siguiente
};

// A date and a time of the run history shown as "dd-mm-yy  Hh:Nn hs." (two blanks between).
std::string Texto_Fecha_y_Hora(const std::string& fecha, const std::string& hora);
// The next run, "dd/mm/yyyy Hh:Nn", shown as "dd-mm-yy Hh:Nn hs.".
std::string Texto_Proxima(const std::string& proxima);
Textos_Horas Textos_Mostrar_Datos(const Configuracion_Programa& configuracion);

}  // namespace facturador

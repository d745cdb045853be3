#pragma once

#include <span>
#include <string>

#include "issuing_config/Datos_Emision.h"

namespace facturador {

// What the configuration window does with a box of the fiscal data page when a branch is shown
// and when its profile is saved.
enum class Uso_Caja {
    Llenar_y_Guardar,  // filled from the profile field and saved to it
    Solo_Llenar,       // filled from the profile field, never read
    Vaciar,            // emptied, never read
    Ninguno,           // neither written nor read
};

// One text box of the fiscal data page of the configuration window.
struct Caja_Perfil {
    const char* nombre;
    const char* titulo;  // caption shown to its left
    int largo;           // maximum length in characters
    std::string Datos_Emision::*dato;
    Uso_Caja uso;
    const char* diseno = "";  // text shown before a branch is chosen
    bool enter_pasa = true;   // Enter moves the focus on (and reaches the box as well)
};

// The text boxes of the fiscal data page, the state combos aside.
std::span<const Caja_Perfil> Cajas_Perfil();

// Tab order of the fiscal data page: every text box and both state combos, by name.
std::span<const char* const> Orden_Tabulacion_Perfil();

}  // namespace facturador

#pragma once

#include <string>

#include "Medicion.h"

namespace facturador {

// The starting point of the generation benchmarks on the server the program's connections reach:
// the central tables emptied, the five branches seeded with their folders under `carpeta`, the
// lease taken and the branches' and issuing data loaded.
void Preparar_Generacion(const std::string& carpeta);

// One measured generation pass: what it spent, and how many of its requests it left in status 2.
struct Pase_Generacion {
    Medida Gasto;
    long long En_Status_2 = 0;
    int Cantidad = 0;

    double Solicitudes_Por_Segundo() const { return Cantidad / Gasto.Segundos; }
};

// Seeds `cantidad` pending requests numbered from `primero` and runs one generation pass over
// them, as one cycle of the program does.
Pase_Generacion Medir_Pase_Generacion(int primero, int cantidad);

}  // namespace facturador

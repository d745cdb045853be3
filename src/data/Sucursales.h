#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace facturador {

struct Sucursal {
    int32_t ID = 0;
    std::string Nombre;
};

// (Re)loads the branches from the central database, in ascending order of name.
// A failure reaches the caller and leaves the previous list as it was.
void Cargar_Sucursales();
// The branch's name, or the empty text when no loaded branch has that number.
std::string Nombre_Sucursal(int32_t id);
// The same look-up in a given list: the first entry with that number wins.
std::string Buscar_Nombre_Sucursal(const std::vector<Sucursal>& sucursales, int32_t id);
const std::vector<Sucursal>& Sucursales_Cargadas();
void Reiniciar_Sucursales();

}  // namespace facturador

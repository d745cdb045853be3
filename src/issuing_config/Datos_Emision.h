#pragma once

namespace facturador {

// Loads every branch's issuing profile from the central database.
void Cargar_Datos_de_Emision();

}  // namespace facturador

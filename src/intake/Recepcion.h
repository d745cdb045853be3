#pragma once

namespace facturador {

// Takes in the stamping results of the requests waiting in status 2.
void Almacenar_Comprobantes_Pendientes();
// Looks again at the rejected requests, in case their stamped result arrived after all.
void Almacenar_Comprobantes_con_Errores_de_Timbrados();

}  // namespace facturador

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "issuing_config/Datos_Emision.h"

namespace facturador {

// A branch's profile as the operator left it in the configuration window: every text as it
// stands in its box, the folders with the platform's separator, Folio_Inicial_Facturas holding
// the text of the folio box and ID_Sucursal the selected branch.
using Datos_Capturados = Datos_Emision;

// The folio to store: the number the text starts with, 0 when it starts with none ("0012" gives
// 12, "" gives 0); nothing when it does not fit in the column's 32 bits.
std::optional<int32_t> Folio_Capturado(std::string_view texto);

// "UPDATE Configuracion_Facturas_Electronicas SET ..." for the branch, in the column order the
// central table has always been written in: place of expedition and tax regime trimmed of
// blanks, the folio unquoted, Leyenda_de_Pagare_Facturas emptied, the folders with "*" for every
// separator, every text escaped so that it is stored exactly as typed.
std::string Sentencia_Guardar_Datos_Emision(const Datos_Capturados& datos, int32_t folio);

// Reloads the branches' profiles; on failure the operator is told and the answer is false.
bool Recargar_Datos_de_Emision(Lugar_Consultas& lugar = Consultas_En_Sitio());

// What filled the boxes of the branch being saved.
enum class Cajas_Llenadas {
    De_Su_Perfil,  // the branch's profile, from a load that succeeded
    Sin_Perfil,    // a load that succeeded had no profile for the branch: the boxes are blank
    Sin_Carga,     // the load failed: the boxes may hold nothing, or values older than the database
};

// "Aceptar" of the profile: stores it, reloads the profiles and tells the operator. Only boxes
// filled from the branch's loaded profile are stored, so that blank boxes never overwrite a real
// profile or reset its folio; a profile the tax authority would refuse (Motivo_Perfil_Invalido:
// its RFC, company name, regime, place of issue or series) is refused, naming the box at fault.
// Answers true when the window may close: the profile was stored (the message says so even when the
// reload after it failed). On any refusal or failure to store, the operator has been told why and
// nothing was stored.
// Its central work runs where `lugar` runs its queries.
bool Aceptar_Datos_Emision(const Datos_Capturados& datos, Cajas_Llenadas cajas,
                           Lugar_Consultas& lugar = Consultas_En_Sitio());

// What storing a branch's folders from the command line did, in a sentence for the operator.
struct Resultado_Carpetas {
    bool Hecho = false;
    std::string Mensaje;
};

// Stores the queue, valid and NOT-valid folders of the branch `carpetas.ID_Sucursal` in its
// issuing profile as the window stores them, and nothing else of the profile: the set-up of a
// service that has no windows. Each folder must exist, and the branch must have a profile.
Resultado_Carpetas Guardar_Carpetas_Sucursal(const Datos_Capturados& carpetas);

}  // namespace facturador

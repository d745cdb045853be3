#pragma once

#include <string>

#include "data/Consulta_Aparte.h"

namespace facturador {

// The text that goes in the body of the e-mail sent with the fiscal documents, as saved during
// this run of the program; empty until the operator saves one.
const std::string& Mensaje_Facturacion_Email();
void Reiniciar_Mensaje_Facturacion_Email();

enum class Resultado_Mensaje_Email {
    Vacio,     // only blanks: the operator was asked to type a message
    Guardado,  // stored in every row of the central Configuracion and kept for the run
    Fallido,   // the operator was told; nothing changed
};

// "Aceptar" of the e-mail text: the text trimmed of blanks goes to
// Configuracion.Mensaje_Facturacion_en_Email, and the operator is told the outcome.
// Its central work runs where `lugar` runs its queries.
Resultado_Mensaje_Email Guardar_Mensaje_Facturacion_Email(
    const std::string& texto, Lugar_Consultas& lugar = Consultas_En_Sitio());

}  // namespace facturador

#pragma once

namespace facturador {

// Takes in the stamping results of the requests waiting in status 2: a stamped XML and PDF
// complete the invoice and the request, an error text rejects it. Most changes are queued in
// Sentencias_Pendientes for the caller to run; failures are passed to the caller.
void Almacenar_Comprobantes_Pendientes();
// Looks again at the requests rejected since 1 December 2024, in case their stamped result
// arrived after all. A failure is written to the daily log, never shown to the operator.
void Almacenar_Comprobantes_con_Errores_de_Timbrados();

}  // namespace facturador

#pragma once

namespace facturador {

// Takes in the stamping results of the requests waiting in status 2: a stamped XML and PDF
// complete the invoice and the request, an error text rejects it. Most changes are queued in
// Sentencias_Pendientes for the caller to run; failures are passed to the caller.
void Almacenar_Comprobantes_Pendientes();
// Starts a look at every request rejected since 1 December 2024, in case its stamped result
// arrived after all: at start-up, when this copy takes the lease over, on the operator's
// "Sincronizar".
void Iniciar_Revision_Rechazadas();
// One scan of that look, while it is under way: up to the scan's limit of results taken in, from
// where the last one stopped; the look ends when a scan reaches the last rejected request. A
// failure is written to the daily log, never shown to the operator; the next cycle goes on.
void Almacenar_Comprobantes_con_Errores_de_Timbrados();

}  // namespace facturador

#pragma once

#include <string>

#include "data/Consulta_Aparte.h"

namespace facturador {

// The controls of the cancellation window that the cancellation reads and writes.
enum class Control_Cancelacion { txtSerie, txtNro, txtMotivo, lblUUID, lblTicket };

// The cancellation window as the cancellation sees it: texts as they stand in the controls, and
// the place where its central queries run.
class Vista_Cancelacion : public Lugar_Consultas {
  public:
    virtual ~Vista_Cancelacion() = default;
    virtual std::string Texto(Control_Cancelacion control) const = 0;
    virtual void Poner_Texto(Control_Cancelacion control, const std::string& texto) = 0;
    virtual void Enfocar(Control_Cancelacion control) = 0;
};

// "Aceptar" of the cancellation window. After the checks and the operator's confirmation it
// writes the cancellation request into the branch's queue folder and, in one transaction, marks
// the invoice as cancelled, frees its ticket and voids the ticket's invoiced amounts.
//
// - Missing series or folio: that box is cleared and focused. A folio beyond 32 bits, a series or
//   folio that would put the request file outside the queue folder, a missing reason or an
//   unknown invoice: the operator is told and the input stays.
// - No invoice, no RFC, no UUID at the cancellation itself, or the confirmation declined: the
//   operator is told (or has answered) and the window is cleared.
// - Done: "Se inició el proceso..." and the window is cleared.
// - A database or file failure, or a branch without a queue folder: the operator is told, the
//   input stays, and nothing is left written; but a request file already in place when the commit
//   fails stays (see Aplicar_Cancelacion), and the operator is asked to cancel again.
void Aceptar_Cancelacion(Vista_Cancelacion& vista);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "data/Conexiones.h"
#include "platform/Conexion.h"

namespace facturador {

// The series and folio of the invoice the operator wants to cancel.
struct Clave_Factura {
    std::string serie;
    int32_t folio = 0;
};

// What the first check learns about the invoice.
struct Factura_Buscada {
    bool encontrada = false;
    // Non-empty when the invoice is already cancelled.
    std::string cancelada;
    // Nro_Ticket as text; "0" when there is no invoice.
    std::string ticket = "0";
};

// The invoice row as the cancellation needs it.
struct Factura_a_Cancelar {
    int32_t ID_Sucursal = 0;
    int32_t ID_Factura = 0;
    std::string UUID;
    std::string rfc_emisor;
    std::string Comentario;
};

Factura_Buscada Buscar_Factura_a_Cancelar(Conexion& conexion, const Clave_Factura& clave);

// The invoice row as stored; nothing when there is no such invoice.
std::optional<Factura_a_Cancelar> Leer_Factura_a_Cancelar(Conexion& conexion,
                                                          const Clave_Factura& clave);

// Extends the invoice's comment with "     Cancelada el: dd-mm-yy, Motivo: <motivo>", the date
// being the branch's.
void Anotar_Cancelacion(Factura_a_Cancelar& factura, const std::string& motivo);

// In one transaction: the invoice marked as cancelled with its new comment and, for a ticket
// other than 0, the ticket freed and its amounts voided. The request file is put at `ruta` after
// those changes and before their commit, so that a crash or a failure in between can only leave a
// request for an invoice still shown as active (cancelling again mends it), never an invoice shown
// as cancelled, its ticket free to invoice again, that the SAT was never asked to cancel.
// A failure before the file is in place rolls everything back and reaches the caller; from then
// on it is a Cancelacion_Sin_Registrar and the file stays.
void Aplicar_Cancelacion(const Abrir_Central& abrir, const Factura_a_Cancelar& factura,
                         double ticket, const std::string& ruta);

}  // namespace facturador

#include "generation/Validacion_Ticket.h"

#include <optional>

#include "data/Formatos_Importe.h"
#include "data/Sucursales.h"
#include "data/Valores_Campo.h"

namespace facturador {

namespace {

// The first field of the first row, as a number; nothing when there is no row or it is Null.
std::optional<double> Consultar_Importe(Conexion& conexion, const std::string& sql) {
    Recordset rs = conexion.Ejecutar(sql);
    if (rs.Fin() || !rs.Campo(size_t{0}))
        return std::nullopt;
    return Valor_Inicial(*rs.Campo(size_t{0}));
}

std::string Filtro_Ticket(int32_t ticket, int32_t sucursal) {
    return "(Nro_Ticket = " + std::to_string(ticket) +
           ") AND (ID_Sucursal = " + std::to_string(sucursal) + ")";
}

std::string Ticket_y_Sucursal(int32_t ticket, const std::string& nombre_sucursal) {
    return "Ticket Nro: " + std::to_string(ticket) + "  (Sucursal: " + nombre_sucursal + ")";
}

}  // namespace

std::string Motivo_Ticket_Inexistente(int32_t ticket, const std::string& nombre_sucursal) {
    return "El " + Ticket_y_Sucursal(ticket, nombre_sucursal) + " NO existe";
}

std::string Motivo_Monto_Excedido(int32_t ticket, const std::string& nombre_sucursal, double monto,
                                  double ya_contado, double total_ticket) {
    const std::string del_ticket = Ticket_y_Sucursal(ticket, nombre_sucursal);
    if (ya_contado >= total_ticket)
        return "El " + del_ticket + " Ya fue Facturado Completamente.";
    const std::string solicitud =
        "El Monto de la Solicitud ($ " + Formato_Importe_Mensaje(monto) + ")";
    const std::string del_total = "($ " + Formato_Importe_Mensaje(total_ticket) + ")";
    if (ya_contado == 0)
        return solicitud + " Excede al monto del " + del_ticket + " " + del_total;
    return solicitud + " + El Monto Ya Facturado ($ " + Formato_Importe_Mensaje(ya_contado) +
           ")  Excede al monto del " + del_ticket + " " + del_total;
}

bool Validar_Monto_Ticket(Conexion& conexion, int32_t ticket, int32_t sucursal, double monto,
                          std::string& motivo) {
    motivo.clear();
    const std::string nombre = Nombre_Sucursal(sucursal);
    const auto total_ticket = Consultar_Importe(
        conexion, "SELECT Total, Cancelado FROM Tickets WHERE (Numero = " + std::to_string(ticket) +
                      ") AND (ID_Sucursal = " + std::to_string(sucursal) + ")");
    if (!total_ticket) {
        motivo = Motivo_Ticket_Inexistente(ticket, nombre);
        return false;
    }
    // What is invoiced and what is on its way are each held against the whole ticket.
    const double facturado =
        Consultar_Importe(conexion, "SELECT SUM(Total) FROM Montos_Facturados WHERE " +
                                        Filtro_Ticket(ticket, sucursal) + " AND (Status = 0)")
            .value_or(0);
    if (facturado + monto > *total_ticket) {
        motivo = Motivo_Monto_Excedido(ticket, nombre, monto, facturado, *total_ticket);
        return false;
    }
    const double en_curso =
        Consultar_Importe(conexion,
                          "SELECT SUM(Total) FROM Solicitudes_de_Facturas_OL WHERE ((Status = 2) "
                          "or (Status = 3)) AND " +
                              Filtro_Ticket(ticket, sucursal))
            .value_or(0);
    if (en_curso + monto > *total_ticket) {
        motivo = Motivo_Monto_Excedido(ticket, nombre, monto, en_curso, *total_ticket);
        return false;
    }
    return true;
}

}  // namespace facturador

#include "intake/Montos_Facturados.h"

#include "data/Formatos_Importe.h"
#include "data/Sentencias_Pendientes.h"
#include "issuing_config/Zona_Sucursal.h"
#include "platform/Conexion.h"

namespace facturador {

std::string Sentencia_Monto_Facturado(const Solicitud_Timbrado& s, const Fecha_Hora& ahora) {
    const std::string fecha = Formato_Fecha_SQL(ahora);
    const std::string valores[] = {std::to_string(s.Nro_Ticket),
                                   std::to_string(s.ID),
                                   std::to_string(s.ID_Sucursal),
                                   fecha,
                                   Formato_Hora(ahora),
                                   Formato_Importe_SQL(s.Total),
                                   "0",
                                   Escapar_Central(s.Serie),
                                   std::to_string(s.Folio),
                                   fecha};
    std::string lista;
    for (const std::string& valor : valores)
        lista += (lista.empty() ? "'" : ", '") + valor + "'";
    return "INSERT INTO Montos_Facturados (Nro_Ticket, ID_Solicitud, ID_Sucursal, Fecha, Hora, "
           "Total, Status, Serie, Folio, FUM) VALUES (" +
           lista + ")";
}

void Asentar_Monto_Facturado(const Solicitud_Timbrado& s) {
    Agregar_Sentencia_de_Solicitud(
        s.ID, Sentencia_Monto_Facturado(s, Ahora_en_Sucursal(s.ID_Sucursal)),
        "Solicitud ID: " + std::to_string(s.ID) + "  -  Ticket Nro. " +
            std::to_string(s.Nro_Ticket) + " - Se asentó el monto Facturado:  $ " +
            Formato_Importe_SQL(s.Total) + "    Factura: " + s.Serie + "-" +
            std::to_string(s.Folio));
}

}  // namespace facturador

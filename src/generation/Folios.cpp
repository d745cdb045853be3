#include "generation/Folios.h"

#include "data/Valores_Campo.h"

namespace facturador {

bool Tiene_Serie_y_Folio_Propios(const Solicitud_Factura& solicitud) {
    return !solicitud.Serie.empty() && Valor_Inicial(solicitud.Folio) != 0;
}

Serie_y_Folio Serie_y_Folio_Propios(const Solicitud_Factura& solicitud) {
    return {solicitud.Serie, Entero_Redondeado(Valor_Inicial(solicitud.Folio)).value_or(0)};
}

Serie_y_Folio Obtener_Serie_y_Folio(Conexion& conexion, int32_t sucursal) {
    Recordset rs = conexion.Ejecutar(
        "Select Serie_Facturas, Folio_Inicial_Facturas FROM Configuracion_Facturas_Electronicas "
        "WHERE ID_Sucursal = " +
        std::to_string(sucursal) + " FOR UPDATE");
    Serie_y_Folio sf;
    if (rs.Fin())
        return sf;
    sf.Serie = rs.Texto("Serie_Facturas");
    sf.Folio = Entero_Redondeado(Valor_Inicial(rs.Texto("Folio_Inicial_Facturas"))).value_or(0);
    return sf;
}

void Actualizar_Proximo_Folio(Conexion& conexion, int32_t sucursal) {
    conexion.Ejecutar(
        "UPDATE Configuracion_Facturas_Electronicas SET Folio_Inicial_Facturas = "
        "Folio_Inicial_Facturas + 1  WHERE ID_Sucursal = " +
        std::to_string(sucursal));
}

}  // namespace facturador

#include "app/Acciones_Solicitud.h"

#include "data/Log.h"
#include "data/Valores_Campo.h"
#include "generation/Reencolado.h"

namespace facturador {

namespace {

std::vector<Reactivada> Reactivar_Donde(Conexion& conexion, const std::string& condicion) {
    std::vector<Reactivada> reactivadas;
    conexion.Iniciar_Transaccion();
    try {
        Recordset rs = conexion.Ejecutar(
            "SELECT ID, Resultado FROM Solicitudes_de_Facturas_OL WHERE Status = 4 AND " +
            condicion + " ORDER BY ID FOR UPDATE");
        std::string ids;
        for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente()) {
            reactivadas.push_back({Entero_Redondeado(Valor_Inicial(rs.Texto("ID"))).value_or(0),
                                   rs.Texto("Resultado")});
            ids += (ids.empty() ? "" : ", ") + std::to_string(reactivadas.back().ID);
        }
        if (!ids.empty())
            conexion.Ejecutar(
                "UPDATE Solicitudes_de_Facturas_OL SET Status = 1, Resultado = '' WHERE Status = 4 "
                "AND ID IN (" +
                ids + ")");
        conexion.Confirmar_Transaccion();
    } catch (...) {
        try {
            conexion.Deshacer_Transaccion();
        } catch (...) {
        }
        throw;
    }
    return reactivadas;
}

}  // namespace

std::vector<Reactivada> Reactivar_Solicitudes(Conexion& conexion, const std::vector<int32_t>& ids) {
    if (ids.empty())
        return {};
    std::string lista;
    for (const int32_t id : ids)
        lista += (lista.empty() ? "" : ", ") + std::to_string(id);
    return Reactivar_Donde(conexion, "ID IN (" + lista + ")");
}

std::vector<Reactivada> Reactivar_Motivo(Conexion& conexion, const std::string& motivo,
                                         int32_t hasta_id) {
    return Reactivar_Donde(conexion, "Resultado = '" + conexion.Escapar(motivo) +
                                         "' AND ID <= " + std::to_string(hasta_id));
}

void Anotar_Reactivadas(const std::vector<Reactivada>& reactivadas, const std::string& cuenta) {
    for (const Reactivada& r : reactivadas)
        Escribir_Log("Solicitud ID: " + std::to_string(r.ID) + " - Reactivada por el operador " +
                     cuenta + "; estaba rechazada: " + r.Motivo);
}

std::optional<std::string> Pedir_Reencolado(Conexion& conexion, int32_t id,
                                            const std::string& cuenta, const Fecha_Hora& ahora) {
    if (auto impedimento = Impedimento_Reencolado(conexion, id))
        return impedimento;
    const std::string solicitud = std::to_string(id);
    const Recordset abiertos = conexion.Ejecutar(
        "SELECT COUNT(*) FROM Pedidos_Reencolado WHERE ID_Solicitud = " + solicitud +
        " AND Status IN (0, 1)");
    if (!abiertos.Fin() && Valor_Inicial(abiertos.Texto(size_t{0})) > 0)
        return "ya hay un pedido de reencolado de esta solicitud sin atender.";
    conexion.Ejecutar(
        "INSERT INTO Pedidos_Reencolado (ID_Solicitud, Pedido_Por, Fecha_Pedido, Status) VALUES "
        "(" +
        solicitud + ", '" + conexion.Escapar(cuenta) + "', '" + Formato_Fecha_Hora_SQL(ahora) +
        "', 0)");
    return std::nullopt;
}

void Anotar_Pedido_Reencolado(int32_t id, const std::string& cuenta) {
    Escribir_Log("Solicitud ID: " + std::to_string(id) + " - El operador " + cuenta +
                 " pidió reencolarla; lo hace la copia que trabaja en su siguiente ciclo.");
}

}  // namespace facturador

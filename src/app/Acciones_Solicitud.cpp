#include "app/Acciones_Solicitud.h"

#include "data/Log.h"
#include "data/Valores_Campo.h"
#include "generation/Reencolado.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

Reactivacion Reactivar_Donde(Conexion& conexion, const std::string& condicion) {
    Reactivacion reactivacion;
    std::vector<Reactivada>& reactivadas = reactivacion.Solicitudes;
    bool confirmando = false;
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
        confirmando = true;
        conexion.Confirmar_Transaccion();
    } catch (const std::exception& e) {
        // Any failure before the COMMIT rolls the transaction back (a broken connection too: the
        // server drops what was not committed); a COMMIT whose answer was lost may have been kept.
        if (confirmando && Respuesta_Perdida(e)) {
            conexion.Cerrar();
            reactivacion.Sin_Confirmar = !reactivadas.empty();
            return reactivacion;
        }
        try {
            conexion.Deshacer_Transaccion();
        } catch (...) {
        }
        throw;
    }
    return reactivacion;
}

}  // namespace

Reactivacion Reactivar_Solicitudes(Conexion& conexion, const std::vector<int32_t>& ids) {
    if (ids.empty())
        return {};
    std::string lista;
    for (const int32_t id : ids)
        lista += (lista.empty() ? "" : ", ") + std::to_string(id);
    return Reactivar_Donde(conexion, "ID IN (" + lista + ")");
}

Reactivacion Reactivar_Motivo(Conexion& conexion, const std::string& motivo, int32_t hasta_id) {
    return Reactivar_Donde(conexion, "Resultado = '" + conexion.Escapar(motivo) +
                                         "' AND ID <= " + std::to_string(hasta_id));
}

void Anotar_Reactivadas(const Reactivacion& reactivacion, const std::string& cuenta) {
    const std::string como = reactivacion.Sin_Confirmar
                                 ? " - Reactivación sin confirmar (se perdió la conexión al "
                                   "confirmarla) por el operador "
                                 : " - Reactivada por el operador ";
    for (const Reactivada& r : reactivacion.Solicitudes)
        Escribir_Log("Solicitud ID: " + std::to_string(r.ID) + como + cuenta +
                     "; estaba rechazada: " + r.Motivo);
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

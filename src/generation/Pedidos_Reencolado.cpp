#include "generation/Pedidos_Reencolado.h"

#include <string>
#include <vector>

#include "data/Log.h"
#include "data/Rechazo_Solicitud.h"
#include "data/Registro_Fallas.h"
#include "data/Tablas_Propias.h"
#include "data/Turno_Central.h"
#include "data/Valores_Campo.h"
#include "generation/Reencolado.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

// A cycle attends this many asks at most; the rest wait for the next one.
constexpr int kPedidos_por_Ciclo = 20;
constexpr size_t kLargo_Resultado = 255;

struct Pedido {
    int32_t ID = 0;
    int32_t ID_Solicitud = 0;
    int Status = 0;
    std::string Pedido_Por;
};

int32_t Entero(const Recordset& rs, const char* columna) {
    return Entero_Redondeado(Valor_Inicial(rs.Texto(columna))).value_or(0);
}

std::vector<Pedido> Pedidos_Abiertos(Conexion& conexion) {
    Recordset rs;
    try {
        rs = conexion.Ejecutar(
            "SELECT ID, ID_Solicitud, Status, Pedido_Por FROM Pedidos_Reencolado WHERE Status IN "
            "(0, 1) ORDER BY ID LIMIT " +
            std::to_string(kPedidos_por_Ciclo));
    } catch (const Error_Plataforma& e) {
        if (e.Numero == kError_Tabla_Inexistente)
            return {};
        throw;
    }
    std::vector<Pedido> pedidos;
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        pedidos.push_back({Entero(rs, "ID"), Entero(rs, "ID_Solicitud"), Entero(rs, "Status"),
                           rs.Texto("Pedido_Por")});
    return pedidos;
}

// 0 → 1 under the lease. False when another copy claimed it first.
bool Tomar_Pedido(Conexion& conexion, int32_t id) {
    bool tomado = false;
    En_Unidad_Cercada(conexion, [&] {
        conexion.Ejecutar("UPDATE Pedidos_Reencolado SET Status = 1 WHERE ID = " +
                          std::to_string(id) + " AND Status = 0");
        tomado = conexion.Filas_Afectadas() == 1;
    });
    return tomado;
}

void Cerrar_Pedido(Conexion& conexion, int32_t id, Status_Pedido status,
                   const std::string& resultado) {
    En_Unidad_Cercada(conexion, [&] {
        conexion.Ejecutar(
            "UPDATE Pedidos_Reencolado SET Status = " + std::to_string(static_cast<int>(status)) +
            ", Resultado = '" + conexion.Escapar(Primeros_Caracteres(resultado, kLargo_Resultado)) +
            "', Fecha_Atendido = '" + Formato_Fecha_Hora_SQL(Ahora()) +
            "' WHERE ID = " + std::to_string(id) + " AND Status = 1");
    });
}

void Atender(Conexion& conexion, const Pedido& p) {
    if (p.Status == static_cast<int>(Status_Pedido::Pedido) && !Tomar_Pedido(conexion, p.ID))
        return;
    const Resultado_Reencolado r = Reencolar_Solicitud(p.ID_Solicitud);
    // Claimed before, by a copy that stopped before closing it: the file it finds is that
    // attempt's.
    const bool de_antes =
        !r.Hecho && p.Status == static_cast<int>(Status_Pedido::En_Curso) && !r.Existente.empty();
    const std::string prefijo = "Solicitud ID: " + std::to_string(p.ID_Solicitud) + " - ";
    const std::string resultado =
        de_antes
            ? "El archivo para timbrar ya estaba escrito por un intento anterior: " + r.Existente
            : r.Mensaje.substr(r.Mensaje.starts_with(prefijo) ? prefijo.size() : 0);
    const Status_Pedido status =
        r.Hecho || de_antes ? Status_Pedido::Hecho : Status_Pedido::No_Hecho;
    Escribir_Log(prefijo + "Pedido de reencolado de " + p.Pedido_Por + ": " +
                 Texto_Status_Pedido(static_cast<int>(status)) + ". " + resultado);
    Cerrar_Pedido(conexion, p.ID, status, resultado);
}

}  // namespace

void Atender_Pedidos_Reencolado(Conexion& conexion) {
    for (const Pedido& pedido : Pedidos_Abiertos(conexion)) {
        try {
            Atender(conexion, pedido);
        } catch (const Error_Plataforma& e) {
            if (!Es_Conflicto(e.Numero))
                throw;
            Fallas_Programa().Registrar_Conflicto(
                e.Descripcion, "Pedido de reencolado " + std::to_string(pedido.ID));
        }
    }
}

const char* Texto_Status_Pedido(int status) {
    switch (status) {
        case 0:
            return "pedido";
        case 1:
            return "en curso";
        case 2:
            return "hecho";
        case 3:
            return "no se hizo";
        default:
            return "desconocido";
    }
}

}  // namespace facturador

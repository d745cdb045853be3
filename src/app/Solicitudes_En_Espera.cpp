#include "app/Solicitudes_En_Espera.h"

#include "data/Valores_Campo.h"

namespace facturador {

namespace {

// "RFC <> ''" is the generation pass's own condition: Null and blank RFCs are never taken.
constexpr const char* kConsulta =
    "SELECT ID, Status, ID_Sucursal, Fecha, (RFC <> '') AS Con_RFC FROM "
    "Solicitudes_de_Facturas_OL WHERE (Status = 1) OR (Status = 2) ORDER BY ID";

}  // namespace

std::vector<Solicitud_En_Espera> Leer_Solicitudes_En_Espera(Conexion& conexion) {
    Recordset rs = conexion.Ejecutar(kConsulta);
    std::vector<Solicitud_En_Espera> solicitudes;
    solicitudes.reserve(rs.Cantidad_Filas());
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente()) {
        const auto numero = [&](const char* columna) {
            return Entero_Redondeado(Valor_Inicial(rs.Texto(columna))).value_or(0);
        };
        Solicitud_En_Espera s;
        s.ID = numero("ID");
        s.Status = numero("Status");
        s.ID_Sucursal = numero("ID_Sucursal");
        s.Sin_RFC = s.Status == 1 && rs.Texto("Con_RFC") != "1";
        s.Fecha = Leer_Fecha_Hora(rs.Texto("Fecha"));
        solicitudes.push_back(s);
    }
    rs.Cerrar();
    return solicitudes;
}

}  // namespace facturador

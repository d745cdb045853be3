#include <charconv>

#include "app/Ciclo_Sincronizacion.h"

namespace facturador {

namespace {

// The leading whole number of the text; 0 when there is none.
long long Numero_Inicial(const std::string& texto) {
    long long numero = 0;
    std::from_chars(texto.data(), texto.data() + texto.size(), numero);
    return numero;
}

}  // namespace

long long Contar_Solicitudes_Rechazadas(Conexion& conexion) {
    Recordset rs =
        conexion.Ejecutar("SELECT COUNT(ID) FROM Solicitudes_de_Facturas_OL WHERE (Status = 4)");
    long long cuantas = 0;
    if (!rs.Fin()) {
        rs.Mover_Primero();
        cuantas = Numero_Inicial(rs.Texto(size_t{0}));
    }
    return cuantas;
}

void Reactivar_Solicitudes_Rechazadas(Conexion& conexion) {
    conexion.Ejecutar(
        "UPDATE Solicitudes_de_Facturas_OL SET Status = 1, Resultado=''  WHERE (Status = 4) AND "
        "(Fecha >= '2024/07/31')");
}

}  // namespace facturador

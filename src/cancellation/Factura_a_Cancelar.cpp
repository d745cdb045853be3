#include "cancellation/Factura_a_Cancelar.h"

#include <exception>

#include "cancellation/Archivo_Cancelacion.h"
#include "data/Conexiones.h"
#include "data/Formatos_Importe.h"
#include "data/Valores_Campo.h"
#include "issuing_config/Zona_Sucursal.h"

namespace facturador {

namespace {

constexpr int kStatus_Cancelada = 3;

std::string Condicion_Serie_Folio(const Conexion& conexion, const Clave_Factura& clave) {
    return " WHERE (Serie = '" + conexion.Escapar(clave.serie) +
           "') AND (Folio = " + std::to_string(clave.folio) + ")";
}

int32_t Entero_De(const Recordset& rs, const char* columna) {
    return Entero_Redondeado(Valor_Inicial(rs.Texto(columna))).value_or(0);
}

Factura_a_Cancelar Leer_Fila(const Recordset& rs) {
    Factura_a_Cancelar f;
    f.ID_Sucursal = Entero_De(rs, "ID_Sucursal");
    f.ID_Factura = Entero_De(rs, "ID_Factura");
    f.UUID = rs.Texto("UUID");
    f.rfc_emisor = rs.Texto("rfc_emisor");
    f.Comentario = rs.Texto("Comentario");
    return f;
}

void Ejecutar_Actualizaciones(Conexion& conexion, const Factura_a_Cancelar& f, double ticket) {
    conexion.Ejecutar(
        "UPDATE Facturas_Electronicas SET Status=" + std::to_string(kStatus_Cancelada) +
        ", Comentario = '" + conexion.Escapar(f.Comentario) +
        "' WHERE ID_Factura = " + std::to_string(f.ID_Factura));
    if (ticket == 0)
        return;
    const std::string sucursal = std::to_string(f.ID_Sucursal);
    const std::string numero = Formato_Importe_SQL(ticket);
    conexion.Ejecutar("UPDATE Tickets SET Se_dio_Factura = 0 WHERE ID_Sucursal = " + sucursal +
                      " AND Numero = " + numero);
    conexion.Ejecutar("UPDATE Montos_Facturados SET Status = 1 WHERE ID_Sucursal = " + sucursal +
                      " AND Nro_Ticket = " + numero);
}

void Deshacer_Ignorando_Errores(Conexion& conexion) noexcept {
    try {
        conexion.Deshacer_Transaccion();
    } catch (...) {
    }
}

}  // namespace

Factura_Buscada Buscar_Factura_a_Cancelar(Conexion& conexion, const Clave_Factura& clave) {
    Recordset rs = conexion.Ejecutar("SELECT Nro_Ticket, Status FROM Facturas_Electronicas" +
                                     Condicion_Serie_Folio(conexion, clave));
    Factura_Buscada buscada;
    if (rs.Fin())
        return buscada;
    buscada.encontrada = true;
    buscada.ticket = rs.Texto("Nro_Ticket");
    if (Valor_Inicial(rs.Texto("Status")) == kStatus_Cancelada)
        buscada.cancelada = "La factura ya está cancelada, favor de verificar.";
    return buscada;
}

std::optional<Factura_a_Cancelar> Leer_Factura_a_Cancelar(Conexion& conexion,
                                                          const Clave_Factura& clave) {
    Recordset rs = conexion.Ejecutar(
        "SELECT ID_Sucursal, UUID, rfc_emisor, ID_Factura, Comentario  FROM "
        "Facturas_Electronicas" +
        Condicion_Serie_Folio(conexion, clave));
    if (rs.Fin())
        return std::nullopt;
    return Leer_Fila(rs);
}

void Anotar_Cancelacion(Factura_a_Cancelar& factura, const std::string& motivo) {
    factura.Comentario += "     Cancelada el: " +
                          Formato_Fecha_Corta(Ahora_en_Sucursal(factura.ID_Sucursal)) +
                          ", Motivo: " + motivo;
}

void Aplicar_Cancelacion(const Abrir_Central& abrir, const Factura_a_Cancelar& factura,
                         double ticket, const std::string& ruta) {
    Conexion conexion;
    abrir(conexion);
    try {
        conexion.Iniciar_Transaccion();
        Ejecutar_Actualizaciones(conexion, factura, ticket);
        Generar_Archivo_Cancelacion(ruta, factura.rfc_emisor, factura.UUID);
    } catch (...) {
        Deshacer_Ignorando_Errores(conexion);
        Cerrar_Conexion(conexion);
        throw;
    }
    try {
        conexion.Confirmar_Transaccion();
    } catch (const std::exception& e) {
        // A commit that fails may still have been made on the server, so the request file stays:
        // the database showing the invoice active while its cancellation is requested is mended
        // by cancelling again; a cancelled invoice with no request would stay valid at the SAT.
        Deshacer_Ignorando_Errores(conexion);
        Cerrar_Conexion(conexion);
        throw Cancelacion_Sin_Registrar(e.what());
    }
    Cerrar_Conexion(conexion);
}

}  // namespace facturador

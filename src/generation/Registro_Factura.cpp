#include "generation/Registro_Factura.h"

#include <array>
#include <utility>

#include "data/Formatos_Importe.h"
#include "data/Nuevo_ID.h"
#include "data/Valores_Campo.h"
#include "issuing_config/Zona_Sucursal.h"

namespace facturador {

namespace {

// The invoice row's columns in the order of registration, with the value each one gets; the
// columns left empty here are those the stamped XML fills in later.
std::array<std::pair<const char*, std::string>, 65> Valores_Factura(
    int32_t id_factura, int32_t ticket, const Serie_y_Folio& sf, double total, int32_t sucursal) {
    // The invoice's date, in the branch's own time as the invoice itself.
    const std::string hoy = Formato_Fecha_SQL(Ahora_en_Sucursal(sucursal));
    return {{{"ID_Factura", std::to_string(id_factura)},
             {"Nro_Ticket", std::to_string(ticket)},
             {"Fecha_Emision", hoy},
             {"Consumo", Formato_Importe_SQL(total)},
             {"Descuento", "0"},
             {"noCertificado", ""},
             {"LugarExpedicion", ""},
             {"tipoDeComprobante", ""},
             {"total", "0"},
             {"subTotal", "0"},
             {"formaDePago", ""},
             {"folio", std::to_string(sf.Folio)},
             {"serie", sf.Serie},
             {"version", ""},
             {"fecha", ""},
             {"certificado", ""},
             {"sello", ""},
             {"nombre_emisor", ""},
             {"rfc_emisor", ""},
             {"codigoPostal_emisor", ""},
             {"pais_emisor", ""},
             {"estado_emisor", ""},
             {"municipio_emisor", ""},
             {"localidad_emisor", ""},
             {"colonia_emisor", ""},
             {"noInterior_emisor", ""},
             {"noExterior_emisor", ""},
             {"calle_emisor", ""},
             {"Regimen", ""},
             {"nombre_cliente", ""},
             {"rfc_cliente", ""},
             {"codigoPostal_cliente", ""},
             {"pais_cliente", ""},
             {"estado_cliente", ""},
             {"municipio_cliente", ""},
             {"localidad_cliente", ""},
             {"colonia_cliente", ""},
             {"noInterior_cliente", ""},
             {"noExterior_cliente", ""},
             {"calle_cliente", ""},
             {"importe", ""},
             {"valorUnitario", ""},
             {"descripcion", ""},
             {"unidad", ""},
             {"cantidad", ""},
             {"totalImpuestosTrasladados", ""},
             {"importe_traslado", ""},
             {"tasa_traslado", ""},
             {"impuesto_traslado", ""},
             {"selloSAT", ""},
             {"noCertificadoSAT", ""},
             {"selloCFD", ""},
             {"FechaTimbrado", ""},
             {"UUID", ""},
             {"ID_Cliente_Ticket", "0"},
             {"ID_Cliente", "0"},
             {"Status", "1"},
             {"ID_Sucursal", std::to_string(sucursal)},
             {"ID_Usuario", "0"},
             {"Comentario", ""},
             {"PDF", ""},
             {"Tamanio_PDF", "0"},
             {"XML", ""},
             {"Tamanio_XML", "0"},
             {"FUM", hoy}}};
}

std::string Texto_SQL(const Conexion& conexion, const std::string& valor) {
    return "'" + conexion.Escapar(valor) + "'";
}

}  // namespace

int32_t Registrar_Factura(Conexion& conexion, int32_t ticket, const Serie_y_Folio& serie_folio,
                          double total, int32_t sucursal) {
    const int32_t id_factura = Nuevo_ID(conexion, "Facturas_Electronicas", "ID_Factura");
    std::string columnas;
    std::string valores;
    for (const auto& [columna, valor] :
         Valores_Factura(id_factura, ticket, serie_folio, total, sucursal)) {
        const char* separador = columnas.empty() ? "" : ", ";
        columnas += separador + std::string(columna);
        valores += separador + Texto_SQL(conexion, valor);
    }
    Insertar_con_Clave_Nueva([&] {
        conexion.Ejecutar("INSERT INTO Facturas_Electronicas (" + columnas + ") VALUES (" +
                          valores + ")");
    });
    return id_factura;
}

std::optional<int32_t> Buscar_Factura_Registrada(Conexion& conexion,
                                                 const Serie_y_Folio& serie_folio, int32_t sucursal,
                                                 std::optional<int32_t> ticket) {
    const std::string del_ticket =
        ticket ? " AND (Nro_Ticket = " + std::to_string(*ticket) + ")" : "";
    // Keys of this system count down, so the first registered has the highest one.
    Recordset rs =
        conexion.Ejecutar("SELECT ID_Factura FROM Facturas_Electronicas WHERE (serie = " +
                          Texto_SQL(conexion, serie_folio.Serie) +
                          ") AND (folio = " + std::to_string(serie_folio.Folio) +
                          ") AND (ID_Sucursal = " + std::to_string(sucursal) + ")" + del_ticket +
                          " ORDER BY ID_Factura DESC");
    if (rs.Fin())
        return std::nullopt;
    return Leer_Entero(rs.Texto("ID_Factura"));
}

bool Bloquear_Solicitud_Pendiente(Conexion& conexion, int32_t id_solicitud) {
    Recordset rs = conexion.Ejecutar("SELECT Status FROM Solicitudes_de_Facturas_OL WHERE ID = " +
                                     std::to_string(id_solicitud) + " FOR UPDATE");
    return !rs.Fin() && rs.Texto(size_t{0}) == "1";
}

void Actualizar_Status_Solicitud(Conexion& conexion, const Solicitud_Factura& solicitud,
                                 const Serie_y_Folio& serie_folio, int32_t id_factura,
                                 const Archivo_Preparado& archivo) {
    conexion.Ejecutar(
        "UPDATE Solicitudes_de_Facturas_OL SET Status = 2, Serie = " +
        Texto_SQL(conexion, serie_folio.Serie) + ", Folio = " + std::to_string(serie_folio.Folio) +
        ", ID_Factura = " + std::to_string(id_factura) +
        ", Archivo = " + Texto_SQL(conexion, archivo.Archivo) +
        ", Ruta_Archivo = " + Texto_SQL(conexion, Ruta_Para_BD(archivo.Ruta_Archivo)) +
        "  WHERE ID = " + std::to_string(solicitud.ID));
}

}  // namespace facturador

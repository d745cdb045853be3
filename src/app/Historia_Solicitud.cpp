#include "app/Historia_Solicitud.h"

#include <fmt/format.h>

#include "app/Busqueda_Solicitudes.h"
#include "data/Formatos_Importe.h"
#include "data/Tablas_Propias.h"
#include "data/Valores_Campo.h"
#include "generation/Pedidos_Reencolado.h"
#include "generation/Reencolado.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Archivos.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

int32_t Entero(const std::string& texto) {
    return Entero_Redondeado(Valor_Inicial(texto)).value_or(0);
}

std::string Importe(const std::string& texto) {
    const auto numero = Leer_Numero(texto);
    return texto.empty() || !numero ? texto : Formato_Importe_Mensaje(*numero);
}

std::string Fecha_Corta(const std::string& texto) {
    const auto fecha = Leer_Fecha_Hora(texto);
    return fecha ? Formato_Fecha(*fecha) : texto;
}

void Leer_Factura(Conexion& conexion, Historia_Solicitud& h, int32_t id_factura) {
    if (id_factura == 0)
        return;
    const std::string id = std::to_string(id_factura);
    Recordset rs = conexion.Ejecutar(
        "SELECT serie, folio, UUID, fecha, total, Status FROM Facturas_Electronicas WHERE "
        "ID_Factura = " +
        id);
    if (!rs.Fin()) {
        const int status = Entero(rs.Texto("Status"));
        h.Factura = Factura_de_Solicitud{id_factura,
                                         rs.Texto("serie"),
                                         rs.Texto("folio"),
                                         rs.Texto("UUID"),
                                         rs.Texto("fecha"),
                                         Importe(rs.Texto("total")),
                                         status == 1   ? "Registrada"
                                         : status == 2 ? "Timbrada"
                                         : status == 3 ? "Cancelada"
                                                       : "Status " + std::to_string(status)};
    }
    Recordset docs = conexion.Ejecutar(
        "SELECT ID, Titulo, Nombre_Archivo, Descripcion, Tamanio_Documento, FUM FROM "
        "Comprobantes_Fiscales WHERE ID_Factura = " +
        id + " ORDER BY ID");
    for (docs.Mover_Primero(); !docs.Fin(); docs.Mover_Siguiente())
        h.Documentos.push_back(
            {Entero(docs.Texto("ID")), docs.Texto("Titulo"), docs.Texto("Nombre_Archivo"),
             docs.Texto("Descripcion"),
             static_cast<long long>(Valor_Inicial(docs.Texto("Tamanio_Documento"))),
             docs.Texto("FUM")});
}

void Leer_Montos(Conexion& conexion, Historia_Solicitud& h) {
    Recordset rs = conexion.Ejecutar(
        "SELECT Fecha, Hora, Total, Status, Serie, Folio FROM Montos_Facturados WHERE "
        "ID_Solicitud = " +
        std::to_string(h.ID) + " ORDER BY ID");
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        h.Montos.push_back({Fecha_Corta(rs.Texto("Fecha")) + " " + rs.Texto("Hora").substr(0, 5),
                            Importe(rs.Texto("Total")),
                            Entero(rs.Texto("Status")) == 0 ? "Vigente" : "Anulado",
                            rs.Texto("Serie") + " " + rs.Texto("Folio")});
}

void Leer_Pedidos(Conexion& conexion, Historia_Solicitud& h) {
    Recordset rs;
    try {
        rs = conexion.Ejecutar(
            "SELECT ID, Pedido_Por, Fecha_Pedido, Status, Resultado, Fecha_Atendido FROM "
            "Pedidos_Reencolado WHERE ID_Solicitud = " +
            std::to_string(h.ID) + " ORDER BY ID");
    } catch (const Error_Plataforma& e) {
        if (e.Numero != kError_Tabla_Inexistente)
            throw;
        return;  // no ask was ever made here
    }
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        h.Pedidos.push_back({Entero(rs.Texto("ID")), rs.Texto("Pedido_Por"),
                             rs.Texto("Fecha_Pedido"), Entero(rs.Texto("Status")),
                             rs.Texto("Resultado"), rs.Texto("Fecha_Atendido")});
}

std::string Momento(long long modificado_ns) {
    const Fecha_Hora f = Hora_Local(modificado_ns / 1000000000, Zona_Maquina());
    return Formato_Fecha(f) + fmt::format(" {:02}:{:02}:{:02}", f.Hora, f.Minuto, f.Segundo);
}

bool Anotar_Si_Esta(Historia_Solicitud& h, const char* donde, const std::string& ruta) {
    const auto entrada = Examinar_Entrada(ruta);
    if (!entrada || !entrada->Regular)
        return false;
    h.Archivos.push_back({donde, ruta, Momento(entrada->Modificado_ns)});
    return true;
}

// The file to stamp, published or waiting under a hidden name of this request, in the queue.
void Buscar_en_Cola(Historia_Solicitud& h, const std::string& cola) {
    const std::string publicado = h.Archivo + ".txt";
    for (const std::string& nombre : Archivos_en_Carpeta(cola)) {
        const auto temporal = Leer_Nombre_Temporal(nombre);
        if (temporal && temporal->ID_Solicitud == h.ID && temporal->Nombre_Archivo == publicado)
            Anotar_Si_Esta(h, "En espera", Unir_Ruta(cola, nombre));
    }
    Anotar_Si_Esta(h, "En cola", Unir_Ruta(cola, publicado));
}

void Buscar_Archivos(Conexion& conexion, Historia_Solicitud& h) {
    if (h.Archivo.empty())
        return;  // never sent to stamping
    Recordset rs = conexion.Ejecutar(
        "SELECT Ruta_Cola_Facturas, Ruta_Facturas_Validas, Ruta_Facturas_NO_Validas FROM "
        "Configuracion_Facturas_Electronicas WHERE ID_Sucursal = " +
        std::to_string(h.ID_Sucursal));
    if (rs.Fin()) {
        h.Aviso_Archivos = "La sucursal " + std::to_string(h.ID_Sucursal) +
                           " no tiene perfil de emisión: no se sabe en qué carpetas buscar.";
        return;
    }
    const std::string cola = Ruta_Desde_BD(rs.Texto(size_t{0}));
    const Rutas_Resultado resultado =
        Rutas_de_Resultado(h.Archivo, {Ruta_Desde_BD(rs.Texto(1)), Ruta_Desde_BD(rs.Texto(2))});
    try {
        Buscar_en_Cola(h, cola);
    } catch (const Error_Plataforma& e) {
        h.Aviso_Archivos = "No se puede leer la carpeta de cola " + cola + ": " + e.Descripcion +
                           ". La cuenta del operador debe pertenecer al grupo facturador.";
    }
    if (Anotar_Si_Esta(h, "Válidas", resultado.XML))
        h.XML = resultado.XML;
    if (Anotar_Si_Esta(h, "Válidas", resultado.PDF))
        h.PDF = resultado.PDF;
    Anotar_Si_Esta(h, "NO válidas", resultado.Error);
}

Historia_Solicitud Leer_Solicitud(const Recordset& rs) {
    Historia_Solicitud h;
    for (const std::string& columna : rs.Columnas())
        h.Campos.emplace_back(columna, rs.Texto(columna));
    h.ID = Entero(rs.Texto("ID"));
    h.Status = Entero(rs.Texto("Status"));
    h.Resultado = rs.Texto("Resultado");
    h.ID_Sucursal = Entero(rs.Texto("ID_Sucursal"));
    h.Archivo = rs.Texto("Archivo");
    return h;
}

}  // namespace

bool Historia_Solicitud::Pedido_Abierto() const {
    for (const Pedido_de_Solicitud& p : Pedidos)
        if (p.Status == static_cast<int>(Status_Pedido::Pedido) ||
            p.Status == static_cast<int>(Status_Pedido::En_Curso))
            return true;
    return false;
}

std::optional<Historia_Solicitud> Leer_Historia_Solicitud(Conexion& conexion, int32_t id) {
    Recordset rs = conexion.Ejecutar("SELECT * FROM Solicitudes_de_Facturas_OL WHERE ID = " +
                                     std::to_string(id));
    if (rs.Fin())
        return std::nullopt;
    Historia_Solicitud h = Leer_Solicitud(rs);
    Leer_Factura(conexion, h, Entero(rs.Texto("ID_Factura")));
    Leer_Montos(conexion, h);
    Leer_Pedidos(conexion, h);
    Buscar_Archivos(conexion, h);
    h.Impedimento_Reencolado = Impedimento_Reencolado(conexion, id);
    return h;
}

}  // namespace facturador

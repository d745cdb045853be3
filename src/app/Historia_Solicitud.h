#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Conexion.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// Everything the central database and the branch folders say of one request, read for the
// operator (the story window). Only reads: the request, its invoice, amounts and stored documents,
// its branch's profile, the re-queue asks, the files and the daily logs.

struct Factura_de_Solicitud {
    int32_t ID_Factura = 0;
    std::string Serie;
    std::string Folio;
    std::string UUID;
    std::string Fecha;   // the stamped CFDI's date, as stored
    std::string Total;   // "#,##0.00"
    std::string Status;  // "Registrada", "Timbrada", "Cancelada"
};

struct Monto_de_Solicitud {
    std::string Fecha;  // "dd/mm/yyyy hh:mm"
    std::string Total;
    std::string Status;  // "Vigente", "Anulado"
    std::string Serie_y_Folio;
};

struct Documento_de_Solicitud {
    int32_t ID = 0;
    std::string Titulo;
    std::string Nombre_Archivo;
    std::string Descripcion;  // "PDF", "XML"
    long long Tamano = 0;
    std::string Fecha;  // FUM, as stored: "dd/mm/yyyy"
};

// Where a file of the request lies now, with its time.
struct Archivo_de_Solicitud {
    std::string Donde;  // "En espera", "En cola", "Válidas", "NO válidas"
    std::string Ruta;
    std::string Modificado;  // "dd/mm/yyyy hh:mm:ss", machine time
};

struct Pedido_de_Solicitud {
    int32_t ID = 0;
    std::string Pedido_Por;
    std::string Fecha_Pedido;
    int Status = 0;
    std::string Resultado;
    std::string Fecha_Atendido;
};

struct Historia_Solicitud {
    int32_t ID = 0;
    std::vector<std::pair<std::string, std::string>> Campos;  // every column, in table order
    int Status = 0;
    std::string Resultado;
    int32_t ID_Sucursal = 0;
    std::string Archivo;
    std::optional<Factura_de_Solicitud> Factura;
    std::vector<Monto_de_Solicitud> Montos;
    std::vector<Documento_de_Solicitud> Documentos;
    std::vector<Archivo_de_Solicitud> Archivos;
    std::string XML;  // the stamped XML and PDF in the valid folder, when they are there
    std::string PDF;
    std::string Aviso_Archivos;  // why the folders could not be looked at, if they could not
    std::vector<Pedido_de_Solicitud> Pedidos;  // re-queue asks, oldest first
    // Why a re-queue cannot be asked now, or nothing when it can (Reencolado.h's conditions).
    std::optional<std::string> Impedimento_Reencolado;
    bool Pedido_Abierto() const;  // an ask not yet done
};

// The story, or nothing when no request has the ID. A failure of the database reaches the caller;
// a folder that cannot be read is told in Aviso_Archivos.
std::optional<Historia_Solicitud> Leer_Historia_Solicitud(Conexion& conexion, int32_t id);

}  // namespace facturador

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Conexion.h"

namespace facturador {

// One invoice request of Solicitudes_de_Facturas_OL as the generation pass works with it.
// Texts are the columns' values (Null as empty), untouched.
struct Solicitud_Factura {
    int32_t ID = 0;
    int32_t ID_Cliente = 0;
    int32_t ID_Sucursal = 0;
    std::string Nombre;
    std::string Direccion;
    std::string Numero_Exterior;
    std::string Numero_Interior;
    std::string Colonia;
    std::string Ciudad;
    std::string Delegacion;
    std::string Estado;
    std::string Codigo_Postal;
    std::string Pais;
    std::string Referencia;
    std::string Telefono;
    std::string Fax;
    std::string E_Mail;
    std::string RFC;
    std::string Comentario;
    std::string Regimen_Fiscal;
    int32_t Nro_Ticket = 0;
    double Total = 0;
    std::string Metodo;  // "99" when the request named none
    std::string Cuenta;
    std::string Condiciones;
    std::string Forma_Pago;
    std::string Serie;
    std::string Folio;  // decimal text, "0" when the request has none
    std::string Fecha;  // "dd/mm/yyyy"
    std::string Uso;

    bool operator==(const Solicitud_Factura&) const = default;
};

// "Solicitud ID: <ID> - Ticket Nro. <ticket> - ": how the daily log opens a line about a request
// on its way to stamping.
std::string Encabezado_Log(const Solicitud_Factura& solicitud);

// A pending row that cannot be worked with: the column at fault, and the row's ID as text when it
// has one.
struct Solicitud_Invalida {
    std::string ID;
    std::string Columna;
};

// The request of the current row of a "SELECT * FROM Solicitudes_de_Facturas_OL", or the fault
// that keeps it from being processed (Null ID, Total or Fecha; Nro_Ticket Null or not a number).
std::optional<Solicitud_Factura> Leer_Solicitud(const Recordset& rs, Solicitud_Invalida& falla);

// Replaces Solicitudes_Pendientes with the requests in status 1 that carry an RFC, in ascending
// ID, read on the given connection. Rows that cannot be read are left out of the list and told in
// the daily log once, when they are first seen so; the others are processed as usual.
void Cargar_Solicitudes_Pendientes(Conexion& conexion);

}  // namespace facturador

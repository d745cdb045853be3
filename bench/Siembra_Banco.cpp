#include "Siembra_Banco.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "data/Valores_Campo.h"

namespace facturador {

namespace {
constexpr int kFilas_Por_Insert = 1000;
}  // namespace

void Sembrar_Sucursales(Conexion& conexion, const std::string& carpeta) {
    namespace fs = std::filesystem;
    for (int s = 1; s <= kSucursales_Banco; ++s) {
        const std::string base = carpeta + "/sucursal" + std::to_string(s);
        // Empty folders: files left by an earlier measurement would hold the folios again.
        fs::remove_all(base);
        for (const char* sub : {"/cola", "/validas", "/no_validas"})
            fs::create_directories(base + sub);
        const std::string id = std::to_string(s);
        conexion.Ejecutar("INSERT INTO Sucursales (ID, Nombre) VALUES (" + id + ", 'Sucursal " +
                          id + "')");
        conexion.Ejecutar(
            "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, Razon_Social_Emisor, "
            "RFC_Emisor, CP_Domicilio_Expedicion, Serie_Facturas, Folio_Inicial_Facturas, "
            "Regimen_Fiscal_Facturas, Ruta_Cola_Facturas, Ruta_Facturas_Validas, "
            "Ruta_Facturas_NO_Validas) VALUES (" +
            id + ", 'ANTOJERIA LOS TULIPANES', 'ALT150312AB1', '06000', 'S" + id +
            "', 1, '601', '" + Ruta_Para_BD(base + "/cola") + "', '" +
            Ruta_Para_BD(base + "/validas") + "', '" + Ruta_Para_BD(base + "/no_validas") + "')");
    }
}

void Sembrar_Solicitudes(Conexion& conexion, int primero, int cantidad) {
    for (int inicio = primero; inicio < primero + cantidad; inicio += kFilas_Por_Insert) {
        std::string tickets, solicitudes;
        const int fin = std::min(inicio + kFilas_Por_Insert, primero + cantidad);
        for (int i = inicio; i < fin; ++i) {
            const std::string n = std::to_string(i), s = std::to_string(i % kSucursales_Banco + 1);
            const std::string total = std::to_string(100 + i % 900) + ".50";
            tickets += (tickets.empty() ? "" : ",") + ("(" + n + ", " + s + ", " + total + ")");
            solicitudes += (solicitudes.empty() ? "" : ",") +
                           ("(" + n + ", 'CLIENTE " + n + "', " + s +
                            ", 'Calle Pedro Moreno', '44100', 'México', 'RALJ900215QW1', '612', " +
                            n + ", '01', " + total + ", CURRENT_DATE, 'G03', 1)");
        }
        conexion.Ejecutar("INSERT INTO Tickets (Numero, ID_Sucursal, Total) VALUES " + tickets);
        conexion.Ejecutar(
            "INSERT INTO Solicitudes_de_Facturas_OL (ID, Nombre, ID_Sucursal, Direccion, "
            "Codigo_Postal, Pais, RFC, Regimen_Fiscal, Nro_Ticket, Metodo, Total, Fecha, Uso, "
            "Status) VALUES " +
            solicitudes);
    }
}

void Vaciar_Tablas_Centrales(Conexion& conexion) {
    for (const char* tabla :
         {"Solicitudes_de_Facturas_OL", "Tickets", "Facturas_Electronicas", "Comprobantes_Fiscales",
          "Montos_Facturados", "Configuracion_Facturas_Electronicas", "Sucursales",
          "Turno_Facturador"})
        conexion.Ejecutar(std::string("DELETE FROM ") + tabla);
}

long long Contar(Conexion& conexion, const std::string& sql) {
    Recordset rs = conexion.Ejecutar(sql);
    return rs.Fin() ? 0 : std::atoll(rs.Texto(size_t{0}).c_str());
}

}  // namespace facturador

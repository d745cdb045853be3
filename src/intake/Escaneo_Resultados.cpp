#include "intake/Escaneo_Resultados.h"

#include <algorithm>
#include <map>
#include <vector>

#include "data/Conexiones.h"
#include "data/Valores_Campo.h"
#include "intake/Observaciones_Recepcion.h"
#include "intake/Resultado_Timbrado.h"
#include "intake/Solicitudes_Timbradas.h"
#include "platform/Entorno.h"

namespace facturador {

namespace {

// The columns of the query, by position: a scan reads thousands of rows every second.
// Ruta_Archivo is read and not used: the result folders always come from the branch profile.
enum Columna : size_t {
    kID_Factura,
    kArchivo,
    kRuta_Archivo,
    kID,
    kSerie,
    kFolio,
    kID_Sucursal,
    kNro_Ticket,
    kTotal
};

// Results one scan takes in at the most. The statements each one queues (the stamped XML's values
// run to kilobytes) wait in memory until the end of the cycle, so a backlog of thousands is taken
// in over several cycles, a second apart, instead of all at once.
constexpr size_t kMaximo_Por_Escaneo = 500;

int32_t Numero(const Recordset& rs, Columna columna) {
    return Entero_Redondeado(Valor_Inicial(rs.Texto(columna))).value_or(0);
}

// The rows come whole to the client, so the connection is closed before the files are looked at.
Recordset Consultar_Solicitudes(const std::string& consulta) {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    try {
        Recordset rs = conexion.Ejecutar(consulta);
        Cerrar_Conexion(conexion);
        return rs;
    } catch (...) {
        Cerrar_Conexion(conexion);
        throw;
    }
}

// The keys of every request the query found, in ascending order, whether or not the scan got to
// it: what was observed of any other request is forgotten, as it has left the scan's status.
std::vector<int32_t> Claves_Encontradas(Recordset& rs) {
    std::vector<int32_t> claves;
    claves.reserve(rs.Cantidad_Filas());
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        claves.push_back(Numero(rs, kID));
    std::sort(claves.begin(), claves.end());
    return claves;
}

void Procesar_Solicitudes(const std::string& condicion, int32_t status) {
    Recordset rs = Consultar_Solicitudes(Consulta_Resultados(condicion));
    std::map<int32_t, Carpetas_Solicitud> carpetas;  // of each branch, once per scan
    const Fecha_Hora ahora = Ahora();
    for (rs.Mover_Primero(); !rs.Fin() && Solicitudes_Timbradas().size() < kMaximo_Por_Escaneo;
         rs.Mover_Siguiente()) {
        const Solicitud_Timbrado s = Leer_Solicitud_Timbrado(rs);
        auto it = carpetas.find(s.ID_Sucursal);
        if (it == carpetas.end())
            it = carpetas.emplace(s.ID_Sucursal, Carpetas_de_Sucursal(s.ID_Sucursal)).first;
        Procesar_Resultado_Timbrado(s, it->second, status, ahora);
    }
    Olvidar_Solicitudes_Ausentes(Claves_Encontradas(rs), status);
}

}  // namespace

std::string Consulta_Resultados(const std::string& condicion) {
    return "SELECT ID_Factura, Archivo, Ruta_Archivo, ID, Serie, Folio, ID_Sucursal, Nro_Ticket, "
           "Total FROM Solicitudes_de_Facturas_OL WHERE " +
           condicion + " ORDER BY ID";
}

Solicitud_Timbrado Leer_Solicitud_Timbrado(const Recordset& rs) {
    Solicitud_Timbrado s;
    s.ID_Factura = Numero(rs, kID_Factura);
    s.Archivo = rs.Texto(kArchivo);
    s.ID = Numero(rs, kID);
    s.Serie = rs.Texto(kSerie);
    s.Folio = Numero(rs, kFolio);
    s.ID_Sucursal = Numero(rs, kID_Sucursal);
    s.Nro_Ticket = Numero(rs, kNro_Ticket);
    if (const auto& total = rs.Campo(kTotal))
        s.Total = Valor_Inicial(*total);
    return s;
}

void Escanear_Resultados(const std::string& condicion, int32_t status) {
    Reiniciar_Solicitudes_Timbradas();
    try {
        Procesar_Solicitudes(condicion, status);
    } catch (...) {
        Marcar_Solicitudes_Timbradas();
        throw;
    }
    Marcar_Solicitudes_Timbradas();
}

}  // namespace facturador

#include "intake/Escaneo_Resultados.h"

#include <algorithm>
#include <map>
#include <optional>
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

// From where the last scan of the status stopped, up to the limit of results taken in or to the
// last request; the next scan starts after the last request looked at, or from the first again.
// True when this one got to the end.
bool Procesar_Solicitudes(const std::string& condicion, int32_t status) {
    Recordset rs = Consultar_Solicitudes(Consulta_Resultados(condicion));
    auto& seguimiento = Seguimiento_Recepcion_Actual();
    std::map<int32_t, Carpetas_Solicitud> carpetas;  // of each branch, once per scan
    const Fecha_Hora ahora = Ahora();
    rs.Mover_Primero();
    if (const auto desde = seguimiento.Reanudar_Desde.find(status);
        desde != seguimiento.Reanudar_Desde.end())
        while (!rs.Fin() && Numero(rs, kID) <= desde->second)
            rs.Mover_Siguiente();
    std::optional<int32_t> ultima;
    for (; !rs.Fin() && Solicitudes_Timbradas().size() < seguimiento.Maximo_Por_Escaneo;
         rs.Mover_Siguiente()) {
        const Solicitud_Timbrado s = Leer_Solicitud_Timbrado(rs);
        auto it = carpetas.find(s.ID_Sucursal);
        if (it == carpetas.end())
            it = carpetas.emplace(s.ID_Sucursal, Carpetas_de_Sucursal(s.ID_Sucursal)).first;
        Procesar_Resultado_Timbrado(s, it->second, status, ahora);
        ultima = s.ID;
        // Each request looked at tells the service manager the scan is moving, not hung.
        Notificar_Servicio("WATCHDOG=1");
    }
    const bool al_final = rs.Fin();
    if (al_final)
        seguimiento.Reanudar_Desde.erase(status);
    else if (ultima)
        seguimiento.Reanudar_Desde[status] = *ultima;
    Olvidar_Solicitudes_Ausentes(Claves_Encontradas(rs), status);
    return al_final;
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

bool Escanear_Resultados(const std::string& condicion, int32_t status) {
    Reiniciar_Solicitudes_Timbradas();
    bool al_final = false;
    try {
        al_final = Procesar_Solicitudes(condicion, status);
    } catch (...) {
        Marcar_Solicitudes_Timbradas();
        throw;
    }
    Marcar_Solicitudes_Timbradas();
    return al_final;
}

}  // namespace facturador

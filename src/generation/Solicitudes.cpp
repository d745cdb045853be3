#include "generation/Solicitudes.h"

#include "data/Log.h"
#include "data/Valores_Campo.h"
#include "generation/Estado_Generacion.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

namespace {

constexpr const char* kConsulta_Pendientes =
    "SELECT * FROM Solicitudes_de_Facturas_OL WHERE (Status = 1) AND (RFC <> '') ORDER BY ID";

// The text columns as they are, Null read as the empty text.
void Leer_Textos(const Recordset& rs, Solicitud_Factura& s) {
    const auto texto = [&](const char* columna) { return rs.Texto(columna); };
    s.Nombre = texto("Nombre");
    s.Direccion = texto("Direccion");
    s.Numero_Exterior = texto("Numero_Exterior");
    s.Numero_Interior = texto("Numero_Interior");
    s.Colonia = texto("Colonia");
    s.Ciudad = texto("Ciudad");
    s.Delegacion = texto("Delegacion");
    s.Estado = texto("Estado");
    s.Codigo_Postal = texto("Codigo_Postal");
    s.Pais = texto("Pais");
    s.Referencia = texto("Referencia");
    s.Telefono = texto("Telefono");
    s.Fax = texto("Fax");
    s.E_Mail = texto("E_Mail");
    s.RFC = texto("RFC");
    s.Comentario = texto("Comentario");
    s.Regimen_Fiscal = texto("Regimen_Fiscal");
    s.Serie = texto("Serie");
    s.Metodo = texto("Metodo");
    if (s.Metodo.empty())
        s.Metodo = "99";
    s.Cuenta = texto("Cuenta");
    s.Condiciones = texto("Condiciones");
    s.Forma_Pago = texto("Forma_Pago");
    s.Uso = texto("Uso");
}

// Columns that may be left empty: Null, or a text without a number, reads as 0. False only for a
// number beyond 32 bits.
bool Leer_Numeros_Opcionales(const Recordset& rs, Solicitud_Factura& s) {
    const auto id_cliente = Leer_Entero(rs.Texto("ID_Cliente"));
    const auto sucursal = Entero_Redondeado(Valor_Inicial(rs.Texto("ID_Sucursal")));
    const auto folio = Entero_Redondeado(Valor_Inicial(rs.Texto("Folio")));
    if (!sucursal || !folio)
        return false;
    s.ID_Cliente = id_cliente.value_or(0);
    s.ID_Sucursal = *sucursal;
    s.Folio = std::to_string(*folio);
    return true;
}

std::string Clave_Aviso(const Recordset& rs, const Solicitud_Invalida& falla) {
    if (!falla.ID.empty())
        return falla.ID;
    std::string fila = "|";
    for (size_t i = 0; i < rs.Columnas().size(); ++i)
        fila += rs.Campo(i).value_or("\x01") + "|";
    return fila;
}

void Avisar_Solicitud_Invalida(const Solicitud_Invalida& falla) {
    const std::string quien =
        falla.ID.empty() ? std::string("Solicitud sin ID") : "Solicitud ID: " + falla.ID;
    Escribir_Log(quien + " - No se puede procesar: " + falla.Columna +
                 " vacío o no válido. Se procesará cuando se corrija.");
}

}  // namespace

std::optional<Solicitud_Factura> Leer_Solicitud(const Recordset& rs, Solicitud_Invalida& falla) {
    falla = {};
    const auto fallar = [&](const char* columna) {
        falla.Columna = columna;
        return std::nullopt;
    };
    Solicitud_Factura s;
    const auto id = Leer_Entero(rs.Texto("ID"));
    if (!id)
        return fallar("ID");
    s.ID = *id;
    falla.ID = std::to_string(*id);
    const auto ticket = Leer_Entero(rs.Texto("Nro_Ticket"));
    if (!ticket)
        return fallar("Nro_Ticket");
    s.Nro_Ticket = *ticket;
    const auto total = Leer_Numero(rs.Texto("Total"));
    if (!total)
        return fallar("Total");
    s.Total = *total;
    const auto fecha = Leer_Fecha_Hora(rs.Texto("Fecha"));
    if (!fecha)
        return fallar("Fecha");
    s.Fecha = Formato_Fecha(*fecha);
    if (!Leer_Numeros_Opcionales(rs, s))
        return fallar("ID_Sucursal o Folio");
    Leer_Textos(rs, s);
    return s;
}

std::string Encabezado_Log(const Solicitud_Factura& s) {
    return "Solicitud ID: " + std::to_string(s.ID) + " - Ticket Nro. " +
           std::to_string(s.Nro_Ticket) + " - ";
}

void Cargar_Solicitudes_Pendientes(Conexion& conexion) {
    Estado_Generacion& estado = Estado_Generacion_Actual();
    estado.Solicitudes_Pendientes.clear();
    Recordset rs = conexion.Ejecutar(kConsulta_Pendientes);
    estado.Solicitudes_Pendientes.reserve(rs.Cantidad_Filas());
    std::set<std::string> invalidas;
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente()) {
        Solicitud_Invalida falla;
        if (auto solicitud = Leer_Solicitud(rs, falla)) {
            estado.Solicitudes_Pendientes.push_back(std::move(*solicitud));
            continue;
        }
        const std::string clave = Clave_Aviso(rs, falla);
        if (!estado.Solicitudes_Invalidas_Avisadas.contains(clave))
            Avisar_Solicitud_Invalida(falla);
        invalidas.insert(clave);
    }
    estado.Solicitudes_Invalidas_Avisadas = std::move(invalidas);
}

}  // namespace facturador

#include "app/Busqueda_Solicitudes.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <set>
#include <string_view>

#include "data/Formatos_Importe.h"
#include "data/Turno_Central.h"
#include "data/Valores_Campo.h"
#include "platform/Error_Plataforma.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

constexpr const char* kTabla_Solicitudes = "Solicitudes_de_Facturas_OL";
constexpr const char* kTabla_Copia = "Indice_Solicitudes";
// The copy's columns, the same as the request's.
constexpr std::array<const char*, 11> kColumnas_Copia = {"ID",    "Nombre", "ID_Sucursal", "RFC",
                                                         "Serie", "Folio",  "Nro_Ticket",  "Total",
                                                         "Fecha", "Status", "Resultado"};

// The copy's columns, each after `prefijo`, separated by commas.
std::string Columnas_Copia(const std::string& prefijo) {
    std::string lista;
    for (const char* columna : kColumnas_Copia)
        lista += (lista.empty() ? "" : ", ") + prefijo + columna;
    return lista;
}

// The newest requests each search checks against the copy, whatever their status.
constexpr int kNuevas_Revisadas = 10000;

constexpr const char* kIndice_Fecha = "idx_solicitudes_fecha";
constexpr const char* kIndice_RFC = "idx_solicitudes_rfc";
constexpr const char* kIndice_Ticket = "idx_solicitudes_nro_ticket";
constexpr const char* kIndice_Motivo = "idx_solicitudes_motivo";
constexpr const char* kIndice_Nombre = "ft_solicitudes_nombre";

// The index that walks the results in each column's order, ties by ID, holding status, branch,
// date and reason besides.
const std::array<const char*, kColumnas_Solicitudes> kIndice_Orden = {
    "PRIMARY",
    kIndice_Fecha,
    "idx_solicitudes_orden_sucursal",
    kIndice_Ticket,
    "idx_solicitudes_orden_nombre",
    kIndice_RFC,
    "idx_solicitudes_orden_total",
    "idx_solicitudes_orden_status",
    "idx_solicitudes_orden_folio",
    "idx_solicitudes_orden_motivo"};

// A date range up to this long bounds the search better than a name.
constexpr int kDias_Rango_Corto = 92;
// Requests the budget found that make a name common (about one in two thousand).
constexpr size_t kHalladas_Nombre_Comun = 16;
// "Sort aborted": the server's answer when a budget of rows stops a sort.
constexpr long kError_Orden_Interrumpido = 1028;

// The shortest word the server's full-text index holds (innodb_ft_min_token_size, 3 unless set).
constexpr size_t kPalabra_Minima = 3;

// The columns each column of the results sorts by, before the request's ID.
const std::array<std::vector<const char*>, kColumnas_Solicitudes> kOrden_SQL = {
    {{},
     {"s.Fecha"},
     {"s.ID_Sucursal"},
     {"s.Nro_Ticket"},
     {"s.Nombre"},
     {"s.RFC"},
     {"s.Total"},
     {"s.Status"},
     {"s.Serie", "s.Folio"},
     {"s.Resultado"}}};

std::string Minusculas_ASCII(std::string_view texto) {
    std::string minusculas(texto);
    for (char& c : minusculas)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return minusculas;
}

std::vector<std::string> Palabras(const std::string& texto) {
    std::vector<std::string> palabras;
    size_t i = 0;
    while (i < texto.size()) {
        const size_t inicio = texto.find_first_not_of(" \t", i);
        if (inicio == std::string::npos)
            break;
        const size_t fin = std::min(texto.find_first_of(" \t", inicio), texto.size());
        palabras.push_back(texto.substr(inicio, fin - inicio));
        i = fin;
    }
    return palabras;
}

// The text as a LIKE pattern matches it literally.
std::string Literal_Like(const std::string& texto) {
    std::string patron;
    for (const char c : texto) {
        if (c == '\\' || c == '%' || c == '_')
            patron += '\\';
        patron += c;
    }
    return patron;
}

// The server's stopwords of three letters or more: with them left out of the index (its default),
// "+will*" would miss a "Will" that LIKE finds.
constexpr std::array<std::string_view, 18> kPalabras_Vacias = {
    "about", "are",  "com",  "for",   "from", "how",  "that", "the", "this",
    "was",   "what", "when", "where", "who",  "will", "with", "und", "www"};

bool Letra_o_Digito(std::string_view palabra, size_t& i) {
    const auto u = static_cast<unsigned char>(palabra[i]);
    if (u < 0x80)
        return std::isalnum(u) != 0;
    // A letter of Latin-1 (À to ÿ, but × and ÷), as Spanish names have them.
    if (u != 0xC3 || i + 1 >= palabra.size())
        return false;
    const auto segundo = static_cast<unsigned char>(palabra[++i]);
    return segundo >= 0x80 && segundo <= 0xBF && segundo != 0x97 && segundo != 0xB7;
}

// A word the full-text index finds exactly where LIKE finds it as the beginning of a word of the
// name: letters and digits only (the index's parser splits at anything else), as long as the
// index's shortest word, and the beginning of no stopword.
bool Va_al_Indice(std::string_view palabra) {
    if (Contar_Caracteres(palabra) < kPalabra_Minima)
        return false;
    for (size_t i = 0; i < palabra.size(); ++i)
        if (!Letra_o_Digito(palabra, i))
            return false;
    const std::string minusculas = Minusculas_ASCII(palabra);
    return std::none_of(kPalabras_Vacias.begin(), kPalabras_Vacias.end(),
                        [&](std::string_view vacia) { return vacia.starts_with(minusculas); });
}

// Each word begins a word of the name (after a blank or a hyphen); through the full-text index the
// candidates come from the index first.
std::string Condicion_Nombre(const std::string& nombre, const Conexion& conexion, bool por_indice) {
    std::string condicion, indice;
    for (const std::string& palabra : Palabras(nombre)) {
        const std::string patron = conexion.Escapar(Literal_Like(palabra));
        condicion += " AND (s.Nombre LIKE '" + patron + "%' OR s.Nombre LIKE '% " + patron +
                     "%' OR s.Nombre LIKE '%-" + patron + "%')";
        if (por_indice && Va_al_Indice(palabra))
            indice += (indice.empty() ? "+" : " +") + conexion.Escapar(palabra) + "*";
    }
    if (!indice.empty())
        condicion += " AND MATCH(s.Nombre) AGAINST('" + indice + "' IN BOOLEAN MODE)";
    return condicion;
}

bool Nombre_por_Indice(const std::string& nombre) {
    const std::vector<std::string> palabras = Palabras(nombre);
    return std::any_of(palabras.begin(), palabras.end(),
                       [](const std::string& p) { return Va_al_Indice(p); });
}

std::string Condiciones(const Criterios_Busqueda& c, const Conexion& conexion, bool por_indice) {
    std::string sql = " WHERE 1 = 1";
    if (c.ID)
        sql += " AND s.ID = " + std::to_string(*c.ID);
    if (c.Nro_Ticket)
        sql += " AND s.Nro_Ticket = " + std::to_string(*c.Nro_Ticket);
    if (const std::string rfc = Recortar(c.RFC); !rfc.empty())
        sql += " AND s.RFC LIKE '" + conexion.Escapar(Literal_Like(rfc)) + "%'";
    sql += Condicion_Nombre(c.Nombre, conexion, por_indice);
    if (c.ID_Sucursal)
        sql += " AND s.ID_Sucursal = " + std::to_string(*c.ID_Sucursal);
    if (c.Status)
        sql += " AND s.Status = " + std::to_string(*c.Status);
    if (c.Desde)
        sql += " AND s.Fecha >= '" + Formato_Fecha_SQL(*c.Desde) + "'";
    if (c.Hasta)
        sql += " AND s.Fecha <= '" + Formato_Fecha_SQL(*c.Hasta) + "'";
    if (c.Motivo)
        sql += " AND s.Resultado = '" + conexion.Escapar(*c.Motivo) + "'";
    return sql;
}

// Ties go by ID in the column's own direction (newest first when descending), so that the
// column's index serves both directions.
std::string Orden(const Criterios_Busqueda& c) {
    const std::string sentido = c.Descendente ? " DESC" : "";
    std::string orden = " ORDER BY ";
    for (const char* columna : kOrden_SQL[static_cast<size_t>(c.Orden)])
        orden += std::string(columna) + sentido + ", ";
    return orden + "s.ID" + sentido;
}

const char* Indice_Forzado(const Criterios_Busqueda& c, Plan_Busqueda plan) {
    switch (plan) {
        case Plan_Busqueda::Indice_Fecha:
            return kIndice_Fecha;
        case Plan_Busqueda::Indice_Motivo:
            return kIndice_Motivo;
        case Plan_Busqueda::Indice_Orden:
            return kIndice_Orden[static_cast<size_t>(c.Orden)];
        default:
            return nullptr;
    }
}

Fila_Solicitud Leer_Fila(const Recordset& rs) {
    const auto entero = [&](const char* columna) {
        return Entero_Redondeado(Valor_Inicial(rs.Texto(columna))).value_or(0);
    };
    Fila_Solicitud f;
    f.ID = entero("ID");
    if (const auto fecha = Leer_Fecha_Hora(rs.Texto("Fecha")))
        f.Fecha = Formato_Fecha(*fecha);
    f.ID_Sucursal = entero("ID_Sucursal");
    f.Sucursal = Recortar(std::to_string(f.ID_Sucursal) + " " + rs.Texto("Nombre_Sucursal"));
    f.Ticket = rs.Texto("Nro_Ticket");
    f.Cliente = rs.Texto("Nombre");
    f.RFC = rs.Texto("RFC");
    if (const auto total = Leer_Numero(rs.Texto("Total")); total && !rs.Texto("Total").empty())
        f.Total = Formato_Importe_Mensaje(*total);
    f.Status = entero("Status");
    if (const std::string serie = rs.Texto("Serie"); !serie.empty())
        f.Serie_y_Folio = serie + " " + rs.Texto("Folio");
    f.Motivo = rs.Texto("Resultado");
    return f;
}

const char* Tabla_Busqueda(const Indices_Busqueda& indices) {
    return indices.Copia ? kTabla_Copia : kTabla_Solicitudes;
}

}  // namespace

Indices_Busqueda Leer_Indices_Busqueda(Conexion& conexion) {
    Recordset rs = conexion.Ejecutar(
        "SELECT DISTINCT INDEX_NAME FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = "
        "DATABASE() AND TABLE_NAME = '" +
        std::string(kTabla_Copia) + "'");
    Indices_Busqueda indices;
    std::set<std::string> orden(kIndice_Orden.begin(), kIndice_Orden.end());
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente()) {
        const std::string nombre = rs.Texto(size_t{0});
        indices.Fecha |= nombre == kIndice_Fecha;
        indices.RFC |= nombre == kIndice_RFC;
        indices.Ticket |= nombre == kIndice_Ticket;
        indices.Motivo |= nombre == kIndice_Motivo;
        indices.Nombre |= nombre == kIndice_Nombre;
        orden.erase(nombre);
    }
    indices.Orden = orden.empty();
    // A copy without all its indexes is still being made, or was left half made: the requests'
    // table answers instead, through none of them.
    indices.Copia = true;
    return indices.Completos() ? indices : Indices_Busqueda{};
}

std::string Sentencia_Busqueda(const Criterios_Busqueda& c, const Conexion& conexion,
                               const Indices_Busqueda& indices, Plan_Busqueda plan,
                               std::optional<long> presupuesto) {
    const int por_pagina = std::max(1, c.Por_Pagina);
    const char* forzado = Indice_Forzado(c, plan);
    return "SELECT s.ID FROM " + std::string(Tabla_Busqueda(indices)) + " s" +
           (forzado ? " FORCE INDEX (" + std::string(forzado) + ")" : std::string()) +
           Condiciones(c, conexion, plan == Plan_Busqueda::Indice_Nombre) + Orden(c) + " LIMIT " +
           std::to_string(por_pagina + 1) + " OFFSET " +
           std::to_string(static_cast<long long>(std::max(0, c.Pagina)) * por_pagina) +
           (presupuesto ? " ROWS EXAMINED " + std::to_string(*presupuesto) : "");
}

namespace {

// The page's rows in the order of its IDs. The IDs come first, from the index alone where it
// holds what the search filters by; read whole along the way, the rows a later page skips would
// each cost a read from the table.
Pagina_Solicitudes Leer_Pagina(Conexion& conexion, Recordset& ids, int por_pagina) {
    std::vector<int32_t> orden;
    for (ids.Mover_Primero(); !ids.Fin(); ids.Mover_Siguiente())
        orden.push_back(Entero_Redondeado(Valor_Inicial(ids.Texto(size_t{0}))).value_or(0));
    Pagina_Solicitudes pagina;
    const auto filas = static_cast<size_t>(std::max(1, por_pagina));
    if (orden.size() > filas) {
        orden.resize(filas);
        pagina.Hay_Siguiente = true;
    }
    if (orden.empty())
        return pagina;
    std::string lista;
    for (const int32_t id : orden)
        lista += (lista.empty() ? "" : ", ") + std::to_string(id);
    Recordset rs = conexion.Ejecutar(
        "SELECT s.ID, s.Fecha, s.ID_Sucursal, su.Nombre AS Nombre_Sucursal, s.Nro_Ticket, "
        "s.Nombre, s.RFC, s.Total, s.Status, s.Serie, s.Folio, s.Resultado FROM "
        "Solicitudes_de_Facturas_OL s LEFT JOIN Sucursales su ON su.ID = s.ID_Sucursal WHERE s.ID "
        "IN (" + lista + ")");
    std::map<int32_t, Fila_Solicitud> leidas;
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente()) {
        Fila_Solicitud fila = Leer_Fila(rs);
        leidas.emplace(fila.ID, std::move(fila));
    }
    // A request deleted between the two reads is left out.
    for (const int32_t id : orden)
        if (const auto f = leidas.find(id); f != leidas.end())
            pagina.Filas.push_back(std::move(f->second));
    return pagina;
}

// The server left a warning: for a statement with ROWS EXAMINED, that it stopped short.
bool Interrumpida(Conexion& conexion) {
    const Recordset rs = conexion.Ejecutar("SELECT @@warning_count");
    return !rs.Fin() && Valor_Inicial(rs.Texto(size_t{0})) > 0;
}

bool Rango_Corto(const Criterios_Busqueda& c) {
    return c.Desde && c.Hasta && Dias_Entre(*c.Desde, *c.Hasta) <= kDias_Rango_Corto;
}

// Sorted by a column whose index holds everything the search filters by.
bool Por_Indice_de_Orden(const Criterios_Busqueda& c, const Indices_Busqueda& indices) {
    return indices.Orden && c.Orden != Columna_Solicitudes::ID && !c.ID && !c.Nro_Ticket &&
           Recortar(c.RFC).empty() && Palabras(c.Nombre).empty();
}

// The page within a budget of rows examined; nothing when the budget stopped it short.
std::optional<Pagina_Solicitudes> Pagina_Acotada(Conexion& conexion, const Criterios_Busqueda& c,
                                                 const Indices_Busqueda& indices,
                                                 Plan_Busqueda plan, long presupuesto,
                                                 size_t& halladas) {
    try {
        Recordset rs =
            conexion.Ejecutar(Sentencia_Busqueda(c, conexion, indices, plan, presupuesto));
        if (!Interrumpida(conexion))
            return Leer_Pagina(conexion, rs, c.Por_Pagina);
        halladas = rs.Cantidad_Filas();
    } catch (const Error_Plataforma& e) {
        // A sort the budget stopped fails instead of warning.
        if (e.Numero != kError_Orden_Interrumpido)
            throw;
    }
    return std::nullopt;
}

}  // namespace

Plan_Busqueda Plan_Acotado(const Criterios_Busqueda& c, const Indices_Busqueda& indices,
                           size_t halladas) {
    const bool por_fecha = indices.Fecha && (c.Desde || c.Hasta);
    // A name found this often among the newest requests is common: the full-text index would
    // hand over every request with it, while the server's own plan finds the rest soon.
    const bool por_nombre =
        indices.Nombre && Nombre_por_Indice(c.Nombre) && halladas < kHalladas_Nombre_Comun;
    if (por_fecha && (Rango_Corto(c) || !por_nombre))
        return Plan_Busqueda::Indice_Fecha;
    return por_nombre ? Plan_Busqueda::Indice_Nombre : Plan_Busqueda::Natural;
}

Pagina_Solicitudes Buscar_Solicitudes(Conexion& conexion, const Criterios_Busqueda& criterios,
                                      const Indices_Busqueda& indices,
                                      Presupuestos_Busqueda presupuestos) {
    if (indices.Copia)
        Copiar_Solicitudes_Nuevas(conexion);
    if (criterios.Motivo && criterios.Status == 4 && indices.Motivo && !criterios.ID &&
        criterios.Orden == Columna_Solicitudes::ID) {
        Recordset rs = conexion.Ejecutar(
            Sentencia_Busqueda(criterios, conexion, indices, Plan_Busqueda::Indice_Motivo));
        return Leer_Pagina(conexion, rs, criterios.Por_Pagina);
    }
    size_t halladas = 0;
    if (Por_Indice_de_Orden(criterios, indices))
        if (auto pagina = Pagina_Acotada(conexion, criterios, indices, Plan_Busqueda::Indice_Orden,
                                         presupuestos.Orden, halladas))
            return *pagina;
    halladas = 0;
    if (!criterios.ID)
        if (auto pagina = Pagina_Acotada(conexion, criterios, indices, Plan_Busqueda::Natural,
                                         presupuestos.Filas, halladas))
            return *pagina;
    Recordset rs = conexion.Ejecutar(Sentencia_Busqueda(
        criterios, conexion, indices, Plan_Acotado(criterios, indices, halladas)));
    return Leer_Pagina(conexion, rs, criterios.Por_Pagina);
}

namespace {

// The IDs the copy lacks among the requests still pending, and among the newest from `desde`.
// Each is looked for where the copy keeps its kind together (its pending ones in the statuses'
// index, the newest at the end of its key), so that a few thousand pending requests spread over
// years cost no read of the copy's rows.
std::string Ids_Faltantes(int64_t desde) {
    const std::string de = " SELECT p.ID FROM " + std::string(kTabla_Solicitudes) +
                           " p LEFT JOIN " + kTabla_Copia + " c";
    const char* por_status = kIndice_Orden[static_cast<size_t>(Columna_Solicitudes::Status)];
    return de + " FORCE INDEX (" + por_status +
           ") ON c.Status = 1 AND c.ID = p.ID WHERE p.Status = 1 AND c.ID IS NULL UNION" + de +
           " ON c.ID = p.ID WHERE p.ID > " + std::to_string(desde) + " AND c.ID IS NULL";
}

}  // namespace

// Read as of the statement, without locks: a locking read would hold back the web side's insert of
// each new request meanwhile. A request changed after that read has already reached the copy by
// its trigger, and the IGNORE keeps that newer row.
void Copiar_Solicitudes_Nuevas(Conexion& conexion) {
    try {
        // A number, not a subquery: the server walks the IDs' range only from a known bound.
        const Recordset mayor =
            conexion.Ejecutar("SELECT MAX(ID) FROM " + std::string(kTabla_Solicitudes));
        const int64_t desde = Entero_Redondeado(Valor_Inicial(mayor.Texto(size_t{0}))).value_or(0) -
                              kNuevas_Revisadas;
        // Applies to the next transaction only: in autocommit, this statement.
        conexion.Ejecutar("SET TRANSACTION ISOLATION LEVEL READ COMMITTED");
        conexion.Ejecutar("INSERT IGNORE INTO " + std::string(kTabla_Copia) + " (" +
                          Columnas_Copia("") + ") SELECT " + Columnas_Copia("s.") + " FROM " +
                          kTabla_Solicitudes + " s JOIN (" + Ids_Faltantes(desde) +
                          ") n ON n.ID = s.ID");
    } catch (const Error_Plataforma& e) {
        if (!Es_Conflicto(e.Numero))
            throw;
    }
}

std::vector<Motivo_Rechazo> Motivos_Rechazo(Conexion& conexion, const Indices_Busqueda& indices) {
    if (indices.Copia)
        Copiar_Solicitudes_Nuevas(conexion);
    Recordset rs = conexion.Ejecutar(
        "SELECT Resultado, COUNT(*), MAX(ID) FROM " + std::string(Tabla_Busqueda(indices)) +
        " WHERE Status = 4 GROUP BY Resultado ORDER BY COUNT(*) DESC, MAX(ID) DESC");
    std::vector<Motivo_Rechazo> motivos;
    for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
        motivos.push_back({rs.Texto(size_t{0}), static_cast<long long>(Valor_Inicial(rs.Texto(1))),
                           Entero_Redondeado(Valor_Inicial(rs.Texto(2))).value_or(0)});
    return motivos;
}

std::string Status_en_Palabras(int status) {
    switch (status) {
        case 1:
            return "Pendiente";
        case 2:
            return "En espera de timbrado";
        case 3:
            return "Timbrada";
        case 4:
            return "Rechazada";
        default:
            return "Status " + std::to_string(status);
    }
}

}  // namespace facturador

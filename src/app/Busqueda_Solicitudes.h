#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Conexion.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// The operator's search of the requests (the "Solicitudes" window). Plain functions over a
// connection the caller owns, so that they run on the window's own thread and connection.

// The columns of the results, in the order they are shown; each one sorts the results.
enum class Columna_Solicitudes {
    ID,
    Fecha,
    Sucursal,
    Ticket,
    Cliente,
    RFC,
    Total,
    Status,
    Serie_y_Folio,
    Motivo
};
inline constexpr int kColumnas_Solicitudes = 10;

struct Criterios_Busqueda {
    std::optional<int32_t> ID;
    std::optional<int32_t> Nro_Ticket;
    std::string RFC;     // the beginning of the customer's RFC, any case
    std::string Nombre;  // words, each the beginning of a word of the customer's name, any case,
                         // with or without accents
    std::optional<int32_t> ID_Sucursal;
    std::optional<int> Status;
    std::optional<Fecha_Hora> Desde;  // request date, inclusive
    std::optional<Fecha_Hora> Hasta;
    std::optional<std::string> Motivo;  // exactly this Resultado (rejected requests by reason)
    Columna_Solicitudes Orden = Columna_Solicitudes::ID;
    bool Descendente = true;  // newest first
    int Pagina = 0;           // from 0
    int Por_Pagina = 50;
};

// One row of the results, as shown.
struct Fila_Solicitud {
    int32_t ID = 0;
    std::string Fecha;  // "dd/mm/yyyy", empty when the request has none
    int32_t ID_Sucursal = 0;
    std::string Sucursal;  // "3 Centro"
    std::string Ticket;
    std::string Cliente;
    std::string RFC;
    std::string Total;  // "#,##0.00", empty when the request has none
    int Status = 0;
    std::string Serie_y_Folio;  // "A 1501", empty before one was taken
    std::string Motivo;

    bool operator==(const Fila_Solicitud&) const = default;
};

struct Pagina_Solicitudes {
    std::vector<Fila_Solicitud> Filas;
    bool Hay_Siguiente = false;
};

// The search's own copy of the columns it filters and sorts by, with their indexes (the table
// Indice_Solicitudes of sql/01_esquema.sql, kept by triggers of the requests' table), so that the
// web side's insert of a request pays none of them. The program never creates it: the README gives
// the statements for an existing database. Without it, or without any one of its indexes, the
// search reads the requests' table: Leer_Indices_Busqueda then answers none.
struct Indices_Busqueda {
    bool Copia =
        false;  // Indice_Solicitudes is there with them all: the search reads its IDs there
    bool Fecha = false;  // its indexes, by name
    bool RFC = false;
    bool Ticket = false;
    bool Motivo = false;  // (Status, Resultado)
    bool Nombre = false;  // the FULLTEXT index
    bool Orden = false;   // one index for each column the others do not sort by
    bool Completos() const { return Copia && Fecha && RFC && Ticket && Motivo && Nombre && Orden; }
};
Indices_Busqueda Leer_Indices_Busqueda(Conexion& conexion);

// How the server is led to the rows. Every plan finds the same rows in the same order; they differ
// only in how fast. Natural leaves the choice to the server; Indice_Nombre has the name's words
// found through the full-text index; Indice_Fecha walks the request dates' index; Indice_Motivo
// the rejected requests' reasons index, newest first within a reason; Indice_Orden walks the index
// of the column the results are sorted by, in its order, until the page is full.
enum class Plan_Busqueda { Natural, Indice_Nombre, Indice_Fecha, Indice_Motivo, Indice_Orden };

// The statement of one page of the search; with `presupuesto`, the server stops after examining
// that many rows (LIMIT ... ROWS EXAMINED) and warns that the page may be incomplete.
std::string Sentencia_Busqueda(const Criterios_Busqueda& criterios, const Conexion& conexion,
                               const Indices_Busqueda& indices, Plan_Busqueda plan,
                               std::optional<long> presupuesto = {});

// Brings into the copy the requests no change has brought yet: the ones still pending (the web
// side inserts them; the triggers take over at their first change), and any of the newest ten
// thousand the copy lacks (one inserted with another status). A conflict with another node's
// copy of the same rows is left for the next search.
void Copiar_Solicitudes_Nuevas(Conexion& conexion);

// One page of the search, after Copiar_Solicitudes_Nuevas. The rejected requests of one reason go
// straight through the reasons' index (the server would rather merge two indexes and sort), newest
// first. Results sorted by a column other than the ID and filtered only by status, branch, dates
// and reason walk that column's index first, within kPresupuesto_Orden: sorting thousands of rows
// would read each from the table. Else the server's own plan is tried first within a budget of rows
// examined: it finds the newest requests of a common name, a branch or a status at once. When the
// budget runs out (a rare name, an old date range), the search runs again through the index that
// bounds it: the full-text index for the name's words, the dates' index for a date range. Rows the
// server's own plan may examine before the search takes an index instead: about a tenth of a second
// on a table the server must read from disk.
inline constexpr long kPresupuesto_Filas = 30000;
// Entries of the sort column's index a sorted search may walk before it takes the filter's own
// way: they hold status, branch, date and reason, so walking them reads no row (a few hundredths of a
// second), and a filter rarer than a page in this many is found sooner through its own index.
inline constexpr long kPresupuesto_Orden = 200000;
struct Presupuestos_Busqueda {
    long Filas = kPresupuesto_Filas;
    long Orden = kPresupuesto_Orden;
};
Pagina_Solicitudes Buscar_Solicitudes(Conexion& conexion, const Criterios_Busqueda& criterios,
                                      const Indices_Busqueda& indices,
                                      Presupuestos_Busqueda presupuestos = {});
// The index that bounds a search whose budget ran out having found `halladas` requests: the
// dates' index for a date range of up to three months, or for any date range when the name's
// words cannot go through the full-text index; else the full-text index when they can and the
// name was rare among the newest requests; else the server's own plan, without a budget.
Plan_Busqueda Plan_Acotado(const Criterios_Busqueda& criterios, const Indices_Busqueda& indices,
                           size_t halladas = 0);

// The rejected requests (status 4) grouped by their reason, the most frequent first.
struct Motivo_Rechazo {
    std::string Motivo;
    long long Cantidad = 0;
    int32_t Ultimo_ID = 0;  // the highest ID with this reason when counted

    bool operator==(const Motivo_Rechazo&) const = default;
};
std::vector<Motivo_Rechazo> Motivos_Rechazo(Conexion& conexion, const Indices_Busqueda& indices);

// "Pendiente", "En espera de timbrado", "Timbrada", "Rechazada"; "Status N" for any other.
std::string Status_en_Palabras(int status);

}  // namespace facturador

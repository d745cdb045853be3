#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "intake/Solicitud_Timbrado.h"
#include "platform/Archivos.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

// A request in status 2 that the intake keeps an eye on, for the daily log (once) and the health
// report.
struct Observacion_Solicitud {
    int32_t ID = 0;
    int32_t ID_Sucursal = 0;
    int32_t Nro_Ticket = 0;
    std::string Serie;
    int32_t Folio = 0;
    std::string Detalle;  // what is wrong, in one line (both values of a mismatch)
    Fecha_Hora Desde;     // first seen so
    // The request's status when it was seen: 2, or 4 for a rejected request whose result arrived
    // after all (the scan of rejected requests applies the same checks).
    int32_t Status = 2;
};

// What the result intake has observed while the program runs, by request ID. Entries leave when
// the request leaves status 2 or the condition clears.
struct Observaciones_Recepcion {
    // No file to stamp (published or waiting) and no result anywhere, for 15 minutes or more.
    std::map<int32_t, Observacion_Solicitud> Atascadas;
    // A result that is not a stamped invoice of its request (left where it is).
    std::map<int32_t, Observacion_Solicitud> Discrepancias;
    // A stamped result whose values the central database cannot hold (too long, too large).
    std::map<int32_t, Observacion_Solicitud> No_Almacenables;
};

Observaciones_Recepcion& Observaciones_Recepcion_Actuales();
// Also forgets the intake's own bookkeeping below.
void Reiniciar_Observaciones_Recepcion();

// The files of a result as they were when the intake refused it, with the request values it was
// checked against: while neither changes, checking it again would only say the same.
struct Huella_Resultado {
    Entrada_Archivo XML;
    Entrada_Archivo PDF;
    std::string Serie;
    int32_t Folio = 0;
    double Total = 0;
    int32_t ID_Factura = 0;

    bool operator==(const Huella_Resultado&) const = default;
};

// What the intake keeps between scans to decide, not to report.
struct Seguimiento_Recepcion {
    // Results refused (mismatch, not storable, or their statements failed): looked at again when
    // their files or request change, or once the time of another look has come.
    struct Apartada {
        Huella_Resultado Huella;
        Fecha_Hora Revisar_Desde;
    };
    std::map<int32_t, Apartada> Apartadas;
    // Requests in status 2 whose result has not arrived: when their folders were last looked at
    // for their file and when they are to be looked at again, since when none was found and when
    // that makes them stuck. Looked up for every waiting request of every scan.
    struct Vigilancia {
        Fecha_Hora Revisada;
        Fecha_Hora Proxima_Revision;
        std::optional<Fecha_Hora> Sin_Archivo_Desde;
        Fecha_Hora Atascada_Desde;
    };
    std::unordered_map<int32_t, Vigilancia> Sin_Resultado;
    // Values replaced by their empty value, already told in the daily log: (request, text).
    std::set<std::pair<int32_t, std::string>> Avisos_Escritos;
    // Results one scan takes in at the most. The statements each one queues (the stamped XML's
    // values run to kilobytes) wait in memory until the end of the cycle, so a backlog of
    // thousands is taken in over several cycles, a second apart, instead of all at once.
    size_t Maximo_Por_Escaneo = 500;
    // By the status a scan looks at: the key after which the next scan starts, where the last one
    // stopped at its limit (none: from the first). So every request is reached within a bounded
    // number of scans, whatever the backlog and whatever stays in the status meanwhile.
    std::map<int32_t, int32_t> Reanudar_Desde;
    // A look at every rejected request is under way, from where Reanudar_Desde says to the end.
    bool Rechazadas_Por_Revisar = false;
};

Seguimiento_Recepcion& Seguimiento_Recepcion_Actual();

// The entry of a request seen now in `status`, with what is wrong.
Observacion_Solicitud Observacion_de(const Solicitud_Timbrado& solicitud, int32_t status,
                                     const std::string& detalle);
// A text fit for one line of the daily log and of the health report: control characters become
// blanks and a text longer than `maximo` bytes is cut (never inside a character) and ends in "...".
std::string Una_Linea(std::string_view texto, size_t maximo);
// "Solicitud ID: <ID> - Ticket Nro. <ticket> - Factura <serie>-<folio> - ": how the intake's lines
// about one request begin in the daily log.
std::string Inicio_Linea_Solicitud(const Observacion_Solicitud& observacion);
// Enters the request in `lista` (keeping since when it is there). True when it was not there with
// this detail: the caller then writes its line.
bool Anotar_Observacion(std::map<int32_t, Observacion_Solicitud>& lista,
                        Observacion_Solicitud observacion);
// The request's result was taken in: no mismatch, nothing unstorable, nothing set aside.
void Quitar_Observaciones_Resultado(int32_t id_solicitud);
// Forgets what was observed of requests seen in `status` that a scan of that status no longer
// found (`presentes`, in ascending order).
void Olvidar_Solicitudes_Ausentes(const std::vector<int32_t>& presentes, int32_t status);

}  // namespace facturador

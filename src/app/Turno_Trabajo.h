#pragma once

#include <functional>

#include "data/Turno_Central.h"

namespace facturador {

using Estado_Turno = Turno_Central::Estado;

inline constexpr const char* kLinea_Otra_Copia_Trabaja =
    "Otra copia del programa trabaja con la base de datos central; esta copia no genera ni "
    "recibe comprobantes mientras tanto.";
inline constexpr const char* kLinea_Turno_Tomado =
    "Esta copia del programa toma el trabajo con la base de datos central.";
inline constexpr const char* kTitulo_Turno_Sin_Permiso = "ATENCION";
inline constexpr const char* kLinea_Turno_Sin_Permiso =
    "Ninguna copia del programa trabaja con la base de datos central y la cuenta de esta copia no "
    "puede tomar el trabajo: esta copia cancela facturas, edita los perfiles de emisión y "
    "reactiva solicitudes rechazadas, pero no genera ni recibe comprobantes. Las solicitudes "
    "esperan a que corra el servicio facturador. Detalle: ";

// One worker per central database, by the lease of data/Turno_Central.h: only the copy that holds
// it generates files to stamp, takes in results, recovers waiting files and re-queues. Two copies
// pointed at the same database (another user, another machine, another node of a cluster) would
// otherwise load the same pending requests and issue them twice. Every other copy is an operator's
// console: it cancels, edits profiles, reactivates rejected requests and shows their count.

// Renews the lease, or takes it when it is free or expired: once at the start of every cycle.
// Tenido: this copy works in this cycle. A change either way is written to the daily log once; an
// unreachable server (Sin_Servidor) goes to the failure log. An account that may not take the
// lease (the operator's console's) finding nobody at work is no failure: the copy keeps to the
// console's work, and says why once in the daily log and to the operator, until it works or sees
// another copy work. A copy that takes the lease over
// starts a look at the rejected requests, which it may have missed while another copy worked.
Estado_Turno Asegurar_Turno_de_Trabajo();
// The same, with the round trip to the server made by `asegurar` on the lease it is given (a copy
// renewed on another thread, for instance). What `asegurar` throws counts as an unreachable server.
using Asegurar_Turno = std::function<Estado_Turno(Turno_Central&)>;
Estado_Turno Asegurar_Turno_de_Trabajo(const Asegurar_Turno& asegurar);
// Whether this copy holds the lease now, as the last renewal found it or a unit since then.
bool Tiene_Turno_de_Trabajo();
// Frees the lease at once, on a clean exit, so that another copy may take over without waiting
// for it to expire.
void Soltar_Turno_de_Trabajo() noexcept;

}  // namespace facturador

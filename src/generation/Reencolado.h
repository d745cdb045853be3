#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Conexion.h"

namespace facturador {

struct Resultado_Reencolado {
    bool Hecho = false;
    // What was done, or why nothing was: one line for the operator.
    std::string Mensaje;
    // When nothing was done because a file or result of the request is already there: which.
    std::string Existente;
};

// Writes the file to stamp of a request in status 2 again, with the same series and folio, only
// when no file of it (published or waiting in the queue) and no result exists anywhere. The file
// waits in the queue folder under the hidden name of a committed request's file; the copy that
// holds the lease publishes it within a cycle (once: the recovery of the queue is fenced by the
// lease), or the next copy to take the lease does. Works beside the running program;
// self-contained: opens its own central connection and reads the issuing profile itself, so the
// caller only sets up the Entorno.
Resultado_Reencolado Reencolar_Solicitud(int32_t id_solicitud);

// Why Reencolar_Solicitud would write nothing now (the request, its series and folio, a file or
// result of it in its branch's folders, as it checks them), or nothing when it would write the
// file; reads only, on the caller's connection. A folder that cannot be read is a reason; a
// failure of the database reaches the caller.
std::optional<std::string> Impedimento_Reencolado(Conexion& conexion, int32_t id_solicitud);

}  // namespace facturador

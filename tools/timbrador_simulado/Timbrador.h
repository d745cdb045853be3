#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "Carpetas.h"
#include "Comportamiento.h"
#include "Instante.h"

namespace timbrador {

struct Resumen_Pasada {
    int timbrados = 0;      // results left in the valid folder
    int rechazados = 0;     // error texts left in the NOT-valid folder
    int cancelaciones = 0;  // cancellation requests taken out of the queue
    int en_espera = 0;      // files younger than the delay, left for a later pass
    int fallas = 0;         // files left in the queue because something failed

    Resumen_Pasada& operator+=(const Resumen_Pasada& otro);
};

// One pass over a branch's queue, in file name order, at the moment `ahora`:
// - "*.txt" is a file to stamp: it leaves the queue and its result appears, each file written
//   whole, under its base name: "<base>.xml" and "<base>.pdf" in the valid folder, or
//   "<base>-error timbrado.txt" (Windows-1252, first line the reason) in the NOT-valid folder.
//   When the result cannot be written, the file goes back into the queue.
// - "Cancelar*.xml" is a cancellation request: it is logged and removed; no answer is left.
// - Anything else, hidden files included, is left alone.
// A file is taken once it is `demora` old, and never before it is a second old, so that a copy
// still in progress is not read. A missing queue folder is an empty one. Each file handled gets one
// line in `bitacora`. With a `registro`, every file taken, stamped or rejected, also gets one
// tab-separated line there, flushed before the next file is looked at: "timbrada" or "rechazada",
// the branch, the series and folio read from the file, the UUID (empty when rejected) and the
// number of lines the file had.
Resumen_Pasada Atender_Cola(const Carpetas_Sucursal& carpetas, const Comportamiento& comportamiento,
                            Instante ahora, std::ostream& bitacora,
                            std::ostream* registro = nullptr);

Resumen_Pasada Atender_Colas(const std::vector<Carpetas_Sucursal>& sucursales,
                             const Comportamiento& comportamiento, Instante ahora,
                             std::ostream& bitacora, std::ostream* registro = nullptr);

// The queue name of a file held under the hidden name it has while it is being stamped
// (".<name>.tomado"); nothing for any other name.
std::optional<std::string> Nombre_de_Tomado(std::string_view oculto);

}  // namespace timbrador

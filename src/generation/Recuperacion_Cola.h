#pragma once

#include "platform/Conexion.h"

namespace facturador {

// Settles every file to stamp left waiting under its temporary name in the queue folders of the
// loaded profiles, against the database: a request in status 2 of that folder's branch that names
// the file had its unit committed (before a crash, or on a connection lost while committing), and
// the file is published; any other was rolled back, and the file is removed, as are the half
// copies (".….copiando") of older versions. The requests are read with locking reads, so a unit
// still open on a broken connection is waited for rather than guessed at, in one unit fenced by
// the lease; only the files of this worker's epoch or earlier ones are settled, never those of a
// copy that took the lease after it. A folder that cannot be read or written is told in the log
// once and the others go on; a database failure reaches the caller. The files that could not be
// published are kept in Estado_Generacion. A re-queued file (Reencolado.h) is published here too.
void Recuperar_Archivos_en_Cola(Conexion& conexion);

// The same at start-up, before the first cycle, on a connection of its own.
void Recuperar_Cola_al_Arrancar();

// Removes the working copies of files to stamp that a crash left in the program folder (start-up,
// before the first cycle writes new ones).
void Borrar_Copias_de_Trabajo();

}  // namespace facturador

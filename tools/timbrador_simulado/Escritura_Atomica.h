#pragma once

#include <string>
#include <string_view>

namespace timbrador {

// Writes the file under a hidden temporary name in the same folder, flushes it to disk and renames
// it into place, so that whoever watches the folder sees either nothing or the whole file. An
// existing file of that name (or a link or a pipe a neighbour planted there) is replaced, never
// written through. On failure nothing is left behind and an Error_Plataforma says why.
void Escribir_Atomico(const std::string& ruta, std::string_view bytes);

}  // namespace timbrador

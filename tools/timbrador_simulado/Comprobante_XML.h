#pragma once

#include <string>

#include "Archivo_para_Timbrar.h"
#include "Timbre.h"

namespace timbrador {

// The stamped CFDI 4.0 document of the file, in UTF-8 with its declaration, laid out as stamped
// files usually are: one element per line with all its attributes on that line, lines ended by
// CR LF, two blanks of indentation per level.
std::string Comprobante_XML(const Archivo_para_Timbrar& archivo, const Timbre& timbre);

}  // namespace timbrador

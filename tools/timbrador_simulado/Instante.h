#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace timbrador {

// A moment of the tool's clock; main() takes it from the system and the tests fix it.
using Instante = std::chrono::system_clock::time_point;

// Local date and time "yyyy-mm-ddThh:mm:ss", as CFDI dates are written.
std::string Fecha_ISO(Instante instante);
// When the file was last written, on the same clock.
Instante Instante_De(std::filesystem::file_time_type hora_archivo);

}  // namespace timbrador

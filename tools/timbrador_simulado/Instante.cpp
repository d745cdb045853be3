#include "Instante.h"

#include <ctime>

#include <fmt/format.h>

namespace timbrador {

std::string Fecha_ISO(Instante instante) {
    const std::time_t t = std::chrono::system_clock::to_time_t(instante);
    std::tm local{};
    localtime_r(&t, &local);
    return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}", local.tm_year + 1900,
                       local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

Instante Instante_De(std::filesystem::file_time_type hora_archivo) {
    return std::chrono::time_point_cast<Instante::duration>(
        std::chrono::file_clock::to_sys(hora_archivo));
}

}  // namespace timbrador

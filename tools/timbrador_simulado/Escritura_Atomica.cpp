#include "Escritura_Atomica.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/Error_Plataforma.h"

namespace timbrador {

namespace {

[[noreturn]] void Fallar(int numero, const std::string& ruta) {
    throw facturador::Error_Plataforma(numero, std::string(std::strerror(numero)) + ": " + ruta);
}

// "<folder>/.<name>.<pid>.parcial": hidden, and never a name the program looks for.
std::string Ruta_Temporal(const std::string& ruta) {
    const std::filesystem::path p(ruta);
    const std::string nombre =
        "." + p.filename().string() + "." + std::to_string(::getpid()) + ".parcial";
    return (p.parent_path() / nombre).string();
}

void Escribir_Todo(int fd, std::string_view bytes, const std::string& ruta) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fallar(errno, ruta);
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

}  // namespace

void Escribir_Atomico(const std::string& ruta, std::string_view bytes) {
    const std::string temporal = Ruta_Temporal(ruta);
    int fd = ::open(temporal.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        Fallar(errno, ruta);
    try {
        Escribir_Todo(fd, bytes, ruta);
        if (::fsync(fd) != 0)
            Fallar(errno, ruta);
        const int cerrado = ::close(fd);
        fd = -1;
        if (cerrado != 0)
            Fallar(errno, ruta);
        if (std::rename(temporal.c_str(), ruta.c_str()) != 0)
            Fallar(errno, ruta);
    } catch (...) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporal.c_str());
        throw;
    }
}

}  // namespace timbrador

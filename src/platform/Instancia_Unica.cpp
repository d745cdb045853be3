#include "platform/Instancia_Unica.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace facturador {

Instancia_Unica::Instancia_Unica(const std::string& archivo_candado) {
    // O_NOFOLLOW: a link planted under the name in the shared /tmp is refused, not followed.
    const int fd = open(archivo_candado.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return;
    }
    descriptor_ = fd;
}

Instancia_Unica::~Instancia_Unica() {
    if (descriptor_ >= 0)
        close(descriptor_);
}

std::string Instancia_Unica::Archivo_Candado_Usuario() {
    return "/tmp/facturador-" + std::to_string(getuid()) + ".lock";
}

}  // namespace facturador

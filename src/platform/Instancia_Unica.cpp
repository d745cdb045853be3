#include "platform/Instancia_Unica.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace facturador {

namespace {

std::string Texto_Falla(const std::string& archivo, int numero) {
    return "No se pudo tomar el candado de instancia única " + archivo + ": " +
           std::strerror(numero);
}

}  // namespace

Instancia_Unica::Instancia_Unica(const std::string& archivo_candado) {
    // O_NOFOLLOW: a link planted under the name is refused, not followed.
    const int fd = open(archivo_candado.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        falla_ = Texto_Falla(archivo_candado, errno);
        return;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int numero = errno;
        close(fd);
        if (numero == EWOULDBLOCK) {
            estado_ = Estado::Otra_Copia;
            return;
        }
        falla_ = Texto_Falla(archivo_candado, numero);
        return;
    }
    descriptor_ = fd;
    estado_ = Estado::Unica;
}

Instancia_Unica::~Instancia_Unica() {
    if (descriptor_ >= 0)
        close(descriptor_);
}

}  // namespace facturador

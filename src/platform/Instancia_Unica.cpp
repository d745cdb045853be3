#include "platform/Instancia_Unica.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

std::string Texto_Falla(const std::string& archivo, const std::string& motivo) {
    return "No se pudo tomar el candado de instancia única " + archivo + ": " + motivo;
}

// The whole file: every copy asks for the same range.
struct flock Todo_El_Archivo(short tipo) {
    struct flock candado {};
    candado.l_type = tipo;
    candado.l_whence = SEEK_SET;
    return candado;
}

}  // namespace

std::string Archivo_Candado_de_Carpeta(const std::string& carpeta_programa) {
    return Unir_Ruta(carpeta_programa, "facturador.lock");
}

Instancia_Unica::Instancia_Unica(const std::string& archivo_candado) {
    // A link or a pipe planted under the name is refused, not followed or waited on. The group
    // may open it: the operators who share the program folder with the service's account must be
    // able to start a copy there while the service is stopped.
    int fd = -1;
    try {
        fd = Abrir_Archivo_Regular(archivo_candado, O_RDWR | O_CREAT, 0660);
    } catch (const Error_Plataforma& e) {
        falla_ = Texto_Falla(archivo_candado, e.Descripcion);
        return;
    }
    struct flock candado = Todo_El_Archivo(F_WRLCK);
    if (fcntl(fd, F_OFD_SETLK, &candado) != 0) {
        const int numero = errno;
        close(fd);
        if (numero == EAGAIN || numero == EACCES) {
            estado_ = Estado::Otra_Copia;
            return;
        }
        falla_ = Texto_Falla(archivo_candado, std::strerror(numero));
        return;
    }
    descriptor_ = fd;
    estado_ = Estado::Unica;
}

Instancia_Unica::~Instancia_Unica() {
    if (descriptor_ >= 0)
        close(descriptor_);
}

std::optional<bool> Instancia_Corriendo(const std::string& archivo_candado) {
    int fd = -1;
    try {
        fd = Abrir_Archivo_Regular(archivo_candado, O_RDONLY);
    } catch (const Error_Plataforma& e) {
        return e.Numero == ENOENT ? std::optional<bool>(false) : std::nullopt;
    }
    struct flock prueba = Todo_El_Archivo(F_WRLCK);
    const bool probado = fcntl(fd, F_OFD_GETLK, &prueba) == 0;
    close(fd);
    if (!probado)
        return std::nullopt;
    return prueba.l_type != F_UNLCK;
}

}  // namespace facturador

#include "apoyo/Vecino_Hostil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace facturador::pruebas {

namespace {

// Whatever stands at the name goes first, as the neighbour's own rename over it would.
void Despejar(const std::string& ruta, bool reemplazar) {
    if (reemplazar)
        std::remove(ruta.c_str());
}

}  // namespace

bool Plantar_Enlace(const std::string& ruta, const std::string& destino, bool reemplazar) {
    Despejar(ruta, reemplazar);
    return symlink(destino.c_str(), ruta.c_str()) == 0;
}

bool Plantar_Tuberia(const std::string& ruta, bool reemplazar) {
    Despejar(ruta, reemplazar);
    return mkfifo(ruta.c_str(), 0666) == 0;
}

bool Plantar_Disperso(const std::string& ruta, const std::string& primera_linea, long long tamano,
                      bool reemplazar) {
    Despejar(ruta, reemplazar);
    const int fd = open(ruta.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const std::string linea = primera_linea + "\r\n";
    const bool plantado =
        write(fd, linea.data(), linea.size()) == static_cast<ssize_t>(linea.size()) &&
        ftruncate(fd, static_cast<off_t>(tamano)) == 0;
    close(fd);
    return plantado;
}

Enlaces_en_Carrera::Enlaces_en_Carrera(std::vector<std::string> rutas, std::string destino)
    : rutas_(std::move(rutas)), destino_(std::move(destino)) {
    hilo_ = std::thread([this] {
        while (!parar_)
            for (const std::string& ruta : rutas_)
                if (symlink(destino_.c_str(), ruta.c_str()) == 0)
                    ++plantados_;
    });
}

Enlaces_en_Carrera::~Enlaces_en_Carrera() {
    parar_ = true;
    hilo_.join();
    for (const std::string& ruta : rutas_) {
        struct stat datos {};
        if (lstat(ruta.c_str(), &datos) == 0 && S_ISLNK(datos.st_mode))
            unlink(ruta.c_str());
    }
}

}  // namespace facturador::pruebas

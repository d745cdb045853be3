#include "apoyo/Vecino_Hostil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace facturador::pruebas {

bool Plantar_Enlace(const std::string& ruta, const std::string& destino, bool reemplazar) {
    if (reemplazar)  // as the neighbour's own rename over it would
        std::remove(ruta.c_str());
    return symlink(destino.c_str(), ruta.c_str()) == 0;
}

bool Plantar_Tuberia(const std::string& ruta, bool reemplazar) {
    if (reemplazar)
        std::remove(ruta.c_str());
    return mkfifo(ruta.c_str(), 0666) == 0;
}

bool Plantar_Disperso(const std::string& ruta, const std::string& primera_linea, long long tamano,
                      bool reemplazar) {
    if (reemplazar)
        std::remove(ruta.c_str());
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

long Con_Enlaces_en_Carrera(const std::vector<std::string>& rutas, const std::string& destino,
                            const std::function<void()>& accion) {
    std::atomic<bool> parar{false};
    long plantados = 0;
    std::thread vecino([&] {
        while (!parar)
            for (const std::string& ruta : rutas)
                plantados += symlink(destino.c_str(), ruta.c_str()) == 0;
    });
    accion();
    parar = true;
    vecino.join();
    for (const std::string& ruta : rutas)
        if (std::filesystem::is_symlink(ruta))
            std::filesystem::remove(ruta);
    return plantados;
}

}  // namespace facturador::pruebas

#include "platform/Archivos.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/Error_Plataforma.h"

namespace facturador {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fallar_Con_Errno(const std::string& ruta) {
    const int numero = errno;
    throw Error_Plataforma(numero, std::string(std::strerror(numero)) + ": " + ruta);
}

[[noreturn]] void Fallar_Con(const std::error_code& ec, const std::string& ruta) {
    throw Error_Plataforma(ec.value(), ec.message() + ": " + ruta);
}

// Writes the bytes with the fopen mode given; `al_disco` forces them to the disk before closing.
void Escribir_Con_Modo(const std::string& ruta, std::string_view bytes, const char* modo,
                       bool al_disco = false) {
    std::FILE* archivo = std::fopen(ruta.c_str(), modo);
    if (!archivo)
        Fallar_Con_Errno(ruta);
    bool escrito = std::fwrite(bytes.data(), 1, bytes.size(), archivo) == bytes.size();
    if (escrito && al_disco)
        escrito = std::fflush(archivo) == 0 && fsync(fileno(archivo)) == 0;
    const int numero = errno;
    const bool cerrado = std::fclose(archivo) == 0;
    if (!escrito)
        errno = numero;
    if (!escrito || !cerrado)
        Fallar_Con_Errno(ruta);
}

void Sincronizar(const std::string& ruta, int banderas) {
    const int fd = ::open(ruta.c_str(), banderas | O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fallar_Con_Errno(ruta);
    const bool sincronizado = ::fsync(fd) == 0;
    const int numero = errno;
    ::close(fd);
    if (!sincronizado) {
        errno = numero;
        Fallar_Con_Errno(ruta);
    }
}

}  // namespace

std::string Unir_Ruta(std::string_view carpeta, std::string_view nombre) {
    std::string ruta(carpeta);
    ruta += fs::path::preferred_separator;
    ruta += nombre;
    return ruta;
}

bool Existe_Archivo(const std::string& ruta) {
    std::error_code ec;
    return fs::is_regular_file(ruta, ec);
}

int Error_de_Lectura(const std::string& ruta) {
    return ::access(ruta.c_str(), R_OK) == 0 ? 0 : errno;
}

std::optional<Entrada_Archivo> Examinar_Entrada(const std::string& ruta) {
    struct stat datos {};
    if (::lstat(ruta.c_str(), &datos) != 0)
        return std::nullopt;
    Entrada_Archivo entrada;
    entrada.Regular = S_ISREG(datos.st_mode);
    entrada.Tamano = static_cast<uintmax_t>(datos.st_size);
    entrada.Inodo = datos.st_ino;
    entrada.Modificado_ns = datos.st_mtim.tv_sec * 1000000000LL + datos.st_mtim.tv_nsec;
    return entrada;
}

bool Existe_Carpeta(const std::string& ruta) {
    std::error_code ec;
    return fs::is_directory(ruta, ec);
}

void Borrar_Archivo_Ignorando_Errores(const std::string& ruta) noexcept {
    std::error_code ec;
    fs::remove(ruta, ec);
}

void Anexar_Archivo(const std::string& ruta, std::string_view bytes) {
    Escribir_Con_Modo(ruta, bytes, "ab");
}

void Escribir_Archivo(const std::string& ruta, std::string_view bytes) {
    Escribir_Con_Modo(ruta, bytes, "wb");
}

std::string Leer_Archivo(const std::string& ruta) {
    std::FILE* archivo = std::fopen(ruta.c_str(), "rb");
    if (!archivo)
        Fallar_Con_Errno(ruta);
    std::string contenido;
    char bloque[65536];
    size_t leidos;
    while ((leidos = std::fread(bloque, 1, sizeof bloque, archivo)) > 0)
        contenido.append(bloque, leidos);
    const bool fallo = std::ferror(archivo);
    std::fclose(archivo);
    if (fallo)
        Fallar_Con_Errno(ruta);
    return contenido;
}

void Copiar_Archivo(const std::string& origen, const std::string& destino) {
    std::error_code ec;
    fs::copy_file(origen, destino, fs::copy_options::overwrite_existing, ec);
    if (ec)
        Fallar_Con(ec, destino);
}

void Renombrar_Archivo(const std::string& origen, const std::string& destino) {
    std::error_code ec;
    fs::rename(origen, destino, ec);
    if (ec)
        Fallar_Con(ec, destino);
}

void Reemplazar_Archivo(const std::string& ruta, std::string_view bytes) {
    const std::string nuevo = ruta + ".nuevo";
    try {
        Escribir_Con_Modo(nuevo, bytes, "wb", true);
        Renombrar_Archivo(nuevo, ruta);
    } catch (const Error_Plataforma&) {
        Borrar_Archivo_Ignorando_Errores(nuevo);
        throw;
    }
}

void Poner_Solo_Lectura(const std::string& ruta) {
    std::error_code ec;
    fs::permissions(ruta, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove, ec);
    if (ec)
        Fallar_Con(ec, ruta);
}

void Quitar_Solo_Lectura(const std::string& ruta) {
    std::error_code ec;
    fs::permissions(ruta, fs::perms::owner_write, fs::perm_options::add, ec);
    if (ec)
        Fallar_Con(ec, ruta);
}

std::vector<std::string> Archivos_en_Carpeta(const std::string& carpeta) {
    std::vector<std::string> nombres;
    std::error_code ec;
    fs::directory_iterator entrada(carpeta, ec);
    for (; !ec && entrada != fs::directory_iterator(); entrada.increment(ec)) {
        std::error_code ec_tipo;
        if (entrada->is_regular_file(ec_tipo))
            nombres.push_back(entrada->path().filename().string());
    }
    if (ec)
        Fallar_Con(ec, carpeta);
    return nombres;
}

void Asegurar_en_Disco(const std::string& ruta) {
    Sincronizar(ruta, 0);
}

void Asegurar_Carpeta_en_Disco(const std::string& carpeta) {
    Sincronizar(carpeta, O_DIRECTORY);
}

std::string Carpeta_Del_Ejecutable() {
    std::error_code ec;
    const fs::path ejecutable = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path().string();
    return ejecutable.parent_path().string();
}

}  // namespace facturador

#include "platform/Archivos.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

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

size_t Contar_Archivos_Visibles(const std::string& carpeta) {
    std::error_code ec;
    size_t cuantos = 0;
    for (fs::directory_iterator it(carpeta, ec), fin; !ec && it != fin; it.increment(ec))
        cuantos += it->is_regular_file(ec) && !it->path().filename().string().starts_with('.');
    if (ec)
        Fallar_Con(ec, carpeta);
    return cuantos;
}

std::string Carpeta_Del_Ejecutable() {
    std::error_code ec;
    const fs::path ejecutable = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path().string();
    return ejecutable.parent_path().string();
}

}  // namespace facturador

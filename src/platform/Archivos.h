#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace facturador {

// File system calls of the program. Failures are Error_Plataforma with errno and its text,
// except where a name says that failures are ignored.

// Joins a folder and a file name with the platform's separator.
std::string Unir_Ruta(std::string_view carpeta, std::string_view nombre);
bool Existe_Archivo(const std::string& ruta);
// 0 when this account may read the file; else why not (errno: ENOENT, EACCES...).
int Error_de_Lectura(const std::string& ruta);

// What lies at a path, looked at without following a symbolic link.
struct Entrada_Archivo {
    bool Regular = false;  // a plain file: not a link, a folder, a device or a pipe
    uintmax_t Tamano = 0;
    // Together these tell one version of the file from another: a file replaced (a rename over
    // it) or rewritten differs in at least one of them.
    unsigned long long Inodo = 0;
    long long Modificado_ns = 0;

    bool operator==(const Entrada_Archivo&) const = default;
};
// Nothing when there is nothing at the path (or it cannot be looked at).
std::optional<Entrada_Archivo> Examinar_Entrada(const std::string& ruta);
bool Existe_Carpeta(const std::string& ruta);
void Borrar_Archivo_Ignorando_Errores(const std::string& ruta) noexcept;
// Appends the bytes, creating the file if it does not exist.
void Anexar_Archivo(const std::string& ruta, std::string_view bytes);
// Creates or replaces the file with exactly these bytes.
void Escribir_Archivo(const std::string& ruta, std::string_view bytes);
std::string Leer_Archivo(const std::string& ruta);
void Copiar_Archivo(const std::string& origen, const std::string& destino);
// Renames within one file system, replacing the destination at once: a reader sees either the old
// file or the whole new one.
void Renombrar_Archivo(const std::string& origen, const std::string& destino);
// Replaces the file with exactly these bytes so that a reader, or a crash, finds either the old
// file or the whole new one: written beside it as "<ruta>.nuevo", forced to the disk, renamed.
void Reemplazar_Archivo(const std::string& ruta, std::string_view bytes);
void Poner_Solo_Lectura(const std::string& ruta);
void Quitar_Solo_Lectura(const std::string& ruta);
// The names of the files in a folder (not its subfolders), in no particular order.
std::vector<std::string> Archivos_en_Carpeta(const std::string& carpeta);
// Returns once the file's contents are on disk, so that a power cut cannot take them back.
void Asegurar_en_Disco(const std::string& ruta);
// Returns once the folder's entries are on disk: a file just created, renamed or removed there
// stays so after a power cut.
void Asegurar_Carpeta_en_Disco(const std::string& carpeta);
// Folder holding the running executable, without a trailing separator.
std::string Carpeta_Del_Ejecutable();

}  // namespace facturador

#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace facturador {

// File system calls of the program. Failures are Error_Plataforma with errno and its text,
// except where a name says that failures are ignored.
//
// The branch folders are shared with the stamping program's group, and any member of it may plant
// a link, a pipe or a huge sparse file under a name the program uses. So the program creates its
// files new (Crear_Archivo_Nuevo, Publicar_Archivo_Nuevo), never writing through what stands at a
// name, and reads them through Leer_Archivo_Regular, never following a link, never waiting on a
// pipe and never reading more than it can use.

// The number of the failure of a path that holds something other than a regular file: a link, a
// pipe, a socket, a folder or a device.
inline constexpr long kError_No_Regular = 30010;

// Joins a folder and a file name with the platform's separator.
std::string Unir_Ruta(std::string_view carpeta, std::string_view nombre);
// True for a name that stays in the folder it is joined to: no separator, no "..", no control
// character. The empty name stays too.
bool Queda_En_Su_Carpeta(std::string_view nombre);
// True for a folder path with ".." among its parts: it climbs out of where it seems to lead.
bool Sube_de_Carpeta(std::string_view ruta);
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
    unsigned Dueno = 0;  // the owner's user number
    unsigned Modo = 0;   // the permission bits (07777)

    bool operator==(const Entrada_Archivo&) const = default;
};
// Nothing when there is nothing at the path (or it cannot be looked at).
std::optional<Entrada_Archivo> Examinar_Entrada(const std::string& ruta);
bool Existe_Carpeta(const std::string& ruta);
void Borrar_Archivo_Ignorando_Errores(const std::string& ruta) noexcept;
// Appends the bytes, creating the file if it does not exist; a link or a pipe at the name is a
// failure (kError_No_Regular), never written through.
void Anexar_Archivo(const std::string& ruta, std::string_view bytes);

// Creates the file new with exactly these bytes, on disk before this returns. Whatever stands at
// the name (a file left by a crash, a link, a pipe) is removed first, never opened; the file is
// then created with O_CREAT|O_EXCL|O_NOFOLLOW, so that anything planted there meanwhile makes it
// fail instead of being written through. `modo`: the permissions, before the umask.
void Crear_Archivo_Nuevo(const std::string& ruta, std::string_view bytes, mode_t modo = 0666);
// Creates the file new under the name `temporal` (hidden, in the same folder) and renames it to
// `ruta`, replacing whatever stands there (a link is replaced, not followed): a reader, or a crash,
// finds at `ruta` either what was there before or the whole new file. On failure nothing is left
// under `temporal`.
void Publicar_Archivo_Nuevo(const std::string& temporal, const std::string& ruta,
                            std::string_view bytes, mode_t modo = 0666);

// A file read through one descriptor: opened without following a link and without waiting on a
// pipe (O_NOFOLLOW|O_NONBLOCK), found on that same descriptor to be a regular file (fstat), and
// read up to a limit, so that a huge or endless file costs no more than the limit.
struct Contenido_Archivo {
    std::string Bytes;        // the file's first bytes, at most the limit
    Entrada_Archivo Entrada;  // the file as the descriptor saw it
    bool Completo = true;     // false: the file holds more than the limit
};
// A path that holds something other than a regular file fails with kError_No_Regular.
Contenido_Archivo Leer_Archivo_Regular(const std::string& ruta, size_t limite);

// Opens a regular file as Leer_Archivo_Regular does, with the given open(2) flags (and `modo` for
// O_CREAT); answers the descriptor, which the caller closes, and what the file is.
int Abrir_Archivo_Regular(const std::string& ruta, int banderas, mode_t modo = 0,
                          Entrada_Archivo* entrada = nullptr);

// The whole file, opened by its name, following a link: only for files no other account can
// write (the system's own, and the tools' and the tests').
std::string Leer_Archivo(const std::string& ruta);
// Creates or replaces the file with exactly these bytes (opened by its name: for the tools and
// the tests, on files of their own).
void Escribir_Archivo(const std::string& ruta, std::string_view bytes);
void Copiar_Archivo(const std::string& origen, const std::string& destino);
// Renames within one file system, replacing the destination at once: a reader sees either the old
// file or the whole new one.
void Renombrar_Archivo(const std::string& origen, const std::string& destino);
// Replaces the file with exactly these bytes so that a reader, or a crash, finds either the old
// file or the whole new one: Publicar_Archivo_Nuevo through "<ruta>.nuevo".
void Reemplazar_Archivo(const std::string& ruta, std::string_view bytes);
void Poner_Solo_Lectura(const std::string& ruta);
void Quitar_Solo_Lectura(const std::string& ruta);
// The names of the regular files in a folder, in no particular order: not its subfolders, and
// not a link, whatever it points at.
std::vector<std::string> Archivos_en_Carpeta(const std::string& carpeta);
// Returns once the folder's entries are on disk: a file just created, renamed or removed there
// stays so after a power cut.
void Asegurar_Carpeta_en_Disco(const std::string& carpeta);
// Folder holding the running executable, without a trailing separator.
std::string Carpeta_Del_Ejecutable();

}  // namespace facturador

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace facturador {

// The names of the files that pass between this program and the stamping program through a
// branch's three folders. The stamping program reads only the published names; everything hidden
// (a leading ".") is this program's own and is never read by it.

// "Factura " + series + " Folio " + folio + ".txt": the file to stamp as published in the queue.
std::string Nombre_Archivo_para_Timbrar(const std::string& serie, int32_t folio);
// The same without ".txt": the base name the request keeps in `Archivo` and the results carry.
std::string Archivo_Base(const std::string& serie, int32_t folio);

// The hidden name under which a request's file to stamp waits in the queue folder while its unit
// of work commits: "." + file name + "." + request ID + ".turno" + the lease's epoch +
// ".pendiente". Renamed to the published name only once the request is committed in status 2;
// removed if it never is. The epoch says which worker wrote it: a worker settles only the files of
// its own epoch or earlier ones, never those of a copy that took the lease after it.
std::string Nombre_Temporal_en_Cola(const std::string& nombre_archivo, int32_t id_solicitud,
                                    int64_t epoca);

struct Temporal_en_Cola {
    std::string Nombre_Archivo;  // the published name it becomes
    int32_t ID_Solicitud = 0;
    int64_t Epoca = 0;  // 0 for the names written before there was a lease (no ".turno" part)
};
// Reads a name of the queue folder as one of those temporary names; nothing for any other name.
std::optional<Temporal_en_Cola> Leer_Nombre_Temporal(std::string_view nombre);
// True when the queue folder holds a waiting file of this request and published name, of any
// epoch. A folder that cannot be read holds none.
bool Hay_Temporal_en_Cola(const std::string& carpeta, const std::string& nombre_archivo,
                          int32_t id_solicitud);

// The folders where the stamping program leaves a branch's results.
struct Carpetas_Resultado {
    std::string Validas;
    std::string No_Validas;
};

// Where the result of a request with base name `archivo` is looked for.
struct Rutas_Resultado {
    std::string XML;    // valid folder, Archivo + ".xml"
    std::string PDF;    // valid folder, Archivo + ".pdf"
    std::string Error;  // NOT-valid folder, Archivo + "-error timbrado.txt"
};

Rutas_Resultado Rutas_de_Resultado(const std::string& archivo, const Carpetas_Resultado& carpetas);

}  // namespace facturador

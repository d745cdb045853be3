#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "generation/Solicitudes.h"
#include "issuing_config/Datos_Emision.h"

namespace facturador {

// A request's file to stamp, complete and on disk in the queue folder under a hidden name, and
// what the request records once it is published.
struct Archivo_Preparado {
    std::string Archivo;       // the file's name without ".txt"
    std::string Ruta_Archivo;  // the valid folder, where the stamped result will appear
    std::string Carpeta_Cola;
    std::string Ruta_Cola;    // the published name in the queue folder
    std::string Ruta_Oculta;  // where it waits, hidden from the stamping program
};

// A file to stamp that could not be written or queued. what() is the text for the operator:
// "Rutas: " + the folders involved + "  --  " + the platform's description of the failure.
class Error_Archivo_Timbrar : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The failure of a file refused before its folders are worked out: "Rutas: " + "  --  " + why.
Error_Archivo_Timbrar Error_Sin_Rutas(const std::string& descripcion);

// Writes the request's file to stamp, complete, to a read-only working copy in the program folder
// and the same bytes into the branch's queue folder under the hidden name `nombre_oculto`, on disk
// before this returns; a stale "Cancelar.xml" there is removed first. Both are created new
// (Crear_Archivo_Nuevo): whatever stands at either name is removed, never written through. The published name is left
// alone: Publicar_Archivo puts the file there. A branch without a queue folder is a failure, never
// a file at the root of the file system, and so is one whose queue folder climbs out with "..". On failure nothing of it is left in the queue folder or
// in the program folder.
Archivo_Preparado Crear_Archivo_para_Timbrar(const Solicitud_Factura& solicitud,
                                             const Datos_Emision& emisor, const std::string& serie,
                                             int32_t folio, const std::string& nombre_oculto);

// Renames the waiting file to its published name, replacing any file there, and makes the rename
// last. Answers the platform's description of a failure, the file then left where it was. A
// waiting file already gone from its folder was published by another copy: nothing to do.
std::optional<std::string> Publicar_Archivo(const std::string& carpeta_cola,
                                            const std::string& oculta, const std::string& cola);

// Publishes a committed request's waiting file. One that cannot take its name keeps waiting for
// the next recovery of the queue, noted in Estado_Generacion so that its folio stays taken; the
// answer is then the log line that tells it, the first time only.
std::optional<std::string> Publicar_o_Esperar(const std::string& carpeta_cola,
                                              const std::string& oculta, const std::string& cola);

// True for the name of a working copy that Crear_Archivo_para_Timbrar writes in the program
// folder: "_" + hh_mm_ss + "_" + the file's name, as "_14_05_09_Factura A Folio 1501.txt".
bool Es_Copia_de_Trabajo(std::string_view nombre);

// Tells the operator (standard message box) and the daily log about a file that was not queued;
// the log's line of a request whose file fails cycle after cycle is kept to once an hour.
void Avisar_Error_Archivo_para_Timbrar(int32_t id_solicitud, const Error_Archivo_Timbrar& error);

}  // namespace facturador

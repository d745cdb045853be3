#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "generation/Solicitudes.h"

namespace facturador {

// What the request records once its file to stamp is in the queue folder.
struct Archivo_Encolado {
    std::string Archivo;       // the file's name without ".txt"
    std::string Ruta_Archivo;  // the valid folder, where the stamped result will appear
    std::string Ruta_Cola;     // the file in the queue folder
};

// A file to stamp that could not be written or queued. what() is the text for the operator:
// "Rutas: " + the folders involved + "  --  " + the platform's description of the failure.
class Error_Archivo_Timbrar : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Writes the request's file to stamp, complete, to a read-only temporary file in the program
// folder and copies it into the branch's queue folder, after removing a stale "Cancelar.xml" and
// any earlier file of the same name there, so the stamping program never sees half a file. A
// branch without a queue folder is a failure, never a file at the root of the file system. On
// failure nothing of it is left in the queue folder or in the program folder.
Archivo_Encolado Crear_Archivo_para_Timbrar(const Solicitud_Factura& solicitud,
                                            const std::string& serie, int32_t folio);

// Tells the operator (standard message box) and the daily log about a file that was not queued.
void Avisar_Error_Archivo_para_Timbrar(int32_t id_solicitud, const Error_Archivo_Timbrar& error);

}  // namespace facturador

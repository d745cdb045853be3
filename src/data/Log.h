#pragma once

#include <string>

#include "data/Version_Programa.h"

namespace facturador {

// Appends "Ver. V. 5.3.0 - Hh:Nn -  <mensaje>" and a line holding one blank to the day's log file
// in the program folder. A failure is shown in the standard message box and the message is lost.
void Escribir_Log(const std::string& mensaje);

// Name of the day's log file: "log_dd_mm_yyyy.txt".
std::string Nombre_Archivo_Log();

}  // namespace facturador

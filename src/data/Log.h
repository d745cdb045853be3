#pragma once

#include <string>

#include "data/Version_Programa.h"

namespace facturador {

// Appends "Ver. V. 5.3.0 - Hh:Nn -  <mensaje>" and a line holding one blank to the day's log file
// in the program folder, the message's control characters as blanks. A failure is shown in the
// standard message box and the message is lost.
//
// When standard error is not a terminal (a service manager's journal, a file) the message is also
// written there as one line, control characters as blanks and with neither version nor time,
// which the journal adds itself; it is written first, so a message the file loses is still there.
void Escribir_Log(const std::string& mensaje);

// The same entry for a message meant for an operator who is not there to read it: it goes to
// standard error as one line whatever standard error is, and to the day's log.
void Escribir_Aviso(const std::string& mensaje);

// Name of the day's log file: "log_dd_mm_yyyy.txt".
std::string Nombre_Archivo_Log();

}  // namespace facturador

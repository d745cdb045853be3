#pragma once

#include <string>

#include "data/Poda_Log.h"

namespace facturador {

// Configuration values and run times held for the whole run.
struct Configuracion_Programa {
    std::string Cadena_Conexion_Historial;
    std::string Cadena_Conexion_Central;
    std::string Servidor_Central;
    std::string Base_Central;
    std::string Ruta_BD;
    std::string Ruta_BD_Documentos;
    std::string Ruta_BD_Fotos;
    std::string Fecha_Ultima;            // "dd/mm/yyyy"
    std::string Hora_Ultima;             // "Hh:Nn"
    std::string Fecha_Ultima_Exitosa;    // "dd/mm/yyyy"
    std::string Hora_Ultima_Exitosa;     // "Hh:Nn"
    std::string Proxima_Sincronizacion;  // "dd/mm/yyyy Hh:Nn"
    std::string Fecha_Apertura_Turno;    // "dd/mm/yyyy"
    // Days the daily logs are kept: the optional column Dias_Conservar_Log of the local row.
    int Dias_Conservar_Log = kDias_Conservar_Log;
    // The worker's program folder, where its daily logs and the stamping error log are: the
    // optional column Carpeta_Servicio of the local row; empty for the usual place
    // (Carpeta_del_Servicio).
    std::string Carpeta_Servicio;
};

// The package installs the program in /usr/bin and its folder in /var/lib/facturador.
inline constexpr const char* kCarpeta_Ejecutable_Instalado = "/usr/bin";
inline constexpr const char* kCarpeta_Programa_Instalado = "/var/lib/facturador";

// The worker's program folder as this copy finds it: the setting when there is one; the service's
// folder for the installed program (a console beside the service); else this copy's own folder.
std::string Carpeta_del_Servicio();

Configuracion_Programa& Configuracion();
// Reads the first row of the local Configuracion table (local.dll) into `cfg`, as start-up does;
// a missing file, table or column is an Error_Plataforma.
void Leer_Configuracion_Local(Configuracion_Programa& cfg);
void Reiniciar_Configuracion();

enum class Resultado_Configuracion { Continuar, Terminar_Programa };

// The first step of start-up: connection strings, local and central configuration, run history.
// Answers Terminar_Programa when the local configuration could not be read, or the central
// database not reached by a program with an operator (who has then been asked for the database
// location and must restart the program). Without a display a server that does not answer only
// leaves the central configuration unread: the cycles try it again.
Resultado_Configuracion Cargar_Configuracion();

}  // namespace facturador

#pragma once

#include <string>

#include "Operador_Guionado.h"
#include "Reloj_Fijo.h"

namespace facturador::pruebas {

// A temporary folder removed with everything in it when the object goes.
class Carpeta_Temporal {
  public:
    Carpeta_Temporal();
    ~Carpeta_Temporal();
    Carpeta_Temporal(const Carpeta_Temporal&) = delete;
    Carpeta_Temporal& operator=(const Carpeta_Temporal&) = delete;
    const std::string& Ruta() const { return ruta_; }

  private:
    std::string ruta_;
};

// Puts a fixed clock, a scripted operator and a temporary program folder in place for one test,
// and restores the previous links when it goes.
class Entorno_Pruebas {
  public:
    Entorno_Pruebas();
    ~Entorno_Pruebas();
    Entorno_Pruebas(const Entorno_Pruebas&) = delete;
    Entorno_Pruebas& operator=(const Entorno_Pruebas&) = delete;

    const std::string& Carpeta() const { return carpeta.Ruta(); }
    // Creates local.dll and Taldo.dll in the program folder, as the installer leaves them.
    void Crear_Bases_Locales() const;

    Reloj_Fijo reloj;
    Operador_Guionado operador;
    Carpeta_Temporal carpeta;

  private:
    Entorno anterior_;
};

// Runs the SQL text of a file of the project (relative to its root) on a SQLite file.
void Ejecutar_Script_SQLite(const std::string& archivo_bd, const std::string& script_relativo);
// Runs one statement on a SQLite file.
void Ejecutar_SQLite(const std::string& archivo_bd, const std::string& sql);
std::string Leer_Fuente(const std::string& relativo);

}  // namespace facturador::pruebas

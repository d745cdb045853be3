#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "Entorno_Pruebas.h"

namespace facturador::pruebas {

// Columns of a row by name, each value an SQL literal (so 'NULL' stands for Null).
using Columnas = std::map<std::string, std::string>;

// A text as an SQL literal of the central database.
std::string Literal(const std::string& texto);

// Inserts one row of `tabla`: `columnas`, with the ones `cambios` names replaced.
void Sembrar_Fila(const std::string& tabla, Columnas columnas, const Columnas& cambios = {});

// Takes a central table out of the way, as its administrator might, for as long as it lives.
class Tabla_Ausente {
  public:
    explicit Tabla_Ausente(std::string tabla);
    ~Tabla_Ausente();
    Tabla_Ausente(const Tabla_Ausente&) = delete;
    Tabla_Ausente& operator=(const Tabla_Ausente&) = delete;

  private:
    std::string tabla_;
};

// A test that seeds an empty central database, with its own environment in place (clock at
// 05/12/2026 10:15:40), and reads back the requests and the log.
class Prueba_Sembrada : public testing::Test {
  protected:
    Prueba_Sembrada();

    // One column, or an expression over the columns, of request `id`, as text.
    static std::string Solicitud(int id, const std::string& columna);
    // Today's log as text ("" while there is none).
    std::string Leer_Log() const;
    static long Veces(const std::string& texto, const std::string& parte);

    Entorno_Pruebas entorno;
};

}  // namespace facturador::pruebas

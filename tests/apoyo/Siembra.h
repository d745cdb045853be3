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
// How many times `parte` occurs in `texto`.
long Veces(const std::string& texto, const std::string& parte);
// Pass when `parte` occurs in `texto`, occurs exactly once, or `texto` begins with `inicio`; a
// failure shows the whole text (Una_Vez also how often).
testing::AssertionResult Contiene(const std::string& texto, const std::string& parte);
testing::AssertionResult Una_Vez(const std::string& texto, const std::string& parte);
testing::AssertionResult Empieza(const std::string& texto, const std::string& inicio);
// Today's daily log in the program folder, as text ("" while there is none).
std::string Leer_Log();

// The folders one branch shares with the stamping program.
struct Carpetas_Sucursal {
    std::string cola;
    std::string validas;
    std::string no_validas;
};

// A branch and its issuing profile, whose three folders lie under `base` (created unless told
// otherwise) and are stored in the profile with "*" for the separator.
Carpetas_Sucursal Sembrar_Sucursal(const std::string& base, int id, const std::string& nombre,
                                   const std::string& serie, int folio, bool crear_carpetas = true);
void Sembrar_Ticket(int numero, int sucursal, const std::string& total);
// A pending request of branch 3 for ticket 4711, 116.00, dated 05/12/2026, with every customer
// datum the stamping program checks; `cambios` replaces columns by SQL literal.
void Sembrar_Solicitud(int id, const Columnas& cambios = {});

// Inserts one row of `tabla`: `columnas`, with the ones `cambios` names replaced.
void Sembrar_Fila(const std::string& tabla, Columnas columnas, const Columnas& cambios = {});

// Runs a statement on the central database as its administrator (rights the program's user lacks).
bool Administrar_Central(const std::string& sql);

// A change the administrator makes to the central database (`hacer`), undone when it goes.
class Cambio_Temporal {
  public:
    Cambio_Temporal(const std::string& hacer, std::string deshacer);
    ~Cambio_Temporal();
    Cambio_Temporal(const Cambio_Temporal&) = delete;
    Cambio_Temporal& operator=(const Cambio_Temporal&) = delete;

  private:
    std::string deshacer_;
};

// A central table taken out of the way.
struct Tabla_Ausente : Cambio_Temporal {
    explicit Tabla_Ausente(const std::string& tabla)
        : Cambio_Temporal("RENAME TABLE " + tabla + " TO " + tabla + "_ausente",
                          "RENAME TABLE " + tabla + "_ausente TO " + tabla) {}
};

// A rule on a central table: every statement writing a row that breaks `condicion` fails.
struct Regla_Temporal : Cambio_Temporal {
    Regla_Temporal(const std::string& tabla, const std::string& condicion)
        : Cambio_Temporal(
              "ALTER TABLE " + tabla + " ADD CONSTRAINT regla_prueba CHECK (" + condicion + ")",
              "ALTER TABLE " + tabla + " DROP CONSTRAINT regla_prueba") {}
};

// Every statement that writes (`suceso`: INSERT or UPDATE) a row of a central table meets a
// conflict with another writer, as a deadlock or a cluster's certification failure reads (1213).
struct Conflicto_Temporal : Cambio_Temporal {
    Conflicto_Temporal(const std::string& tabla, const std::string& suceso)
        : Cambio_Temporal("CREATE TRIGGER conflicto_prueba BEFORE " + suceso + " ON " + tabla +
                              " FOR EACH ROW SIGNAL SQLSTATE '40001' SET MYSQL_ERRNO = 1213, "
                              "MESSAGE_TEXT = 'Deadlock found when trying to get lock'",
                          "DROP TRIGGER conflicto_prueba") {}
};

// A test on an empty central database, with its own environment (clock at 05/12/2026 10:15:40)
// and the lease held, as the working copy holds it.
class Prueba_Sembrada : public testing::Test {
  protected:
    Prueba_Sembrada();

    Entorno_Pruebas entorno;
};

}  // namespace facturador::pruebas

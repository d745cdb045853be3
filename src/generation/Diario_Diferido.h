#pragma once

#include <string>
#include <utility>
#include <vector>

namespace facturador {

// Daily log lines of a unit of work, kept while it holds row locks and written once it has
// committed or rolled back, in the order they came: writing the log may end in a message box
// that waits for an operator, and no lock may wait with it. A line that tells of the unit's
// database work (a folio skipped, the request on its way to stamping) is written only when the
// unit committed: a rolled-back move of the folio counter never happened.
class Diario_Diferido {
  public:
    void Anotar(std::string linea) { lineas_.push_back({std::move(linea), false}); }
    void Anotar_Si_Confirma(std::string linea) { lineas_.push_back({std::move(linea), true}); }
    // Writes the lines kept so far, those of the database work only when `confirmada`, and
    // forgets them.
    void Escribir(bool confirmada);

  private:
    struct Linea {
        std::string texto;
        bool de_la_base = false;
    };
    std::vector<Linea> lineas_;
};

}  // namespace facturador

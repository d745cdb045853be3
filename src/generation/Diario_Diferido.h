#pragma once

#include <string>
#include <vector>

namespace facturador {

// Daily log lines of a unit of work, kept while it holds row locks and written once it has
// committed or rolled back, in the order they came: writing the log may end in a message box
// that waits for an operator, and no lock may wait with it.
class Diario_Diferido {
  public:
    void Anotar(std::string linea) { lineas_.push_back(std::move(linea)); }
    // Writes the lines kept so far and forgets them.
    void Escribir();

  private:
    std::vector<std::string> lineas_;
};

}  // namespace facturador

#pragma once

#include <random>
#include <string>
#include <vector>

#include "apoyo/Siembra.h"

namespace facturador::pruebas {

// The requests of a fault run, as the outside system writes them, each on a ticket of its own.
// Valid requests must end stamped and stored whatever happens; hostile rows need only never stop,
// break or mix up the others.
class Siembra_Fallas {
  public:
    explicit Siembra_Fallas(std::mt19937& azar) : azar_(azar) {}

    // `cantidad` valid requests, each in one of `sucursales` chosen at random.
    void Validas(int cantidad, const std::vector<int>& sucursales);
    // One row of each kind of hostile value: quotes, backslashes, SQL, CR/LF, emoji and CJK,
    // texts as long as their columns take, far dates, NULL in every nullable column, huge and
    // negative amounts, a ticket without total, a branch that does not exist, payment forms out
    // of the catalogue. The name goes into the file to stamp as it is: the valid row gets hostile
    // names the file can hold, and one with emoji is refused before stamping.
    void Hostiles(int sucursal);
    // The same kinds of texts in a branch's issuing profile, its fiscal keys left valid and its
    // company name one the tax authority takes (line breaks, which the file carries as blanks),
    // so that its invoices can still be stamped.
    static void Perfil_Hostil(int sucursal);

    const std::vector<int>& Ids_Validas() const { return validas_; }

  private:
    int Solicitud(int sucursal, const std::string& total, const Columnas& cambios, bool valida);

    std::mt19937& azar_;
    int siguiente_ = 1;
    std::vector<int> validas_;
};

}  // namespace facturador::pruebas

#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

namespace facturador {

// Whether a catalogue entry applies to a person (física) or to a company (moral).
struct Aplica_Persona {
    bool Fisica = false;
    bool Moral = false;
};

// An entry of c_RegimenFiscal.
struct Regimen_Fiscal_CFDI {
    std::string Descripcion;
    Aplica_Persona Aplica;
};

// An entry of c_UsoCFDI, with the receiver regimes it allows.
struct Uso_CFDI {
    std::string Descripcion;
    Aplica_Persona Aplica;
    std::set<std::string> Regimenes;
};

// Whether an entry applies to the kind of person a well-shaped RFC names.
bool Aplica_a_RFC(const Aplica_Persona& aplica, std::string_view rfc);

// The SAT catalogues the fiscal checks need, by code; the payment forms with their descriptions.
struct Catalogos_CFDI {
    std::map<std::string, Regimen_Fiscal_CFDI> Regimenes;
    std::map<std::string, Uso_CFDI> Usos;
    std::map<std::string, std::string> Formas_Pago;
};

// A catalogue text that does not follow its line format; what() names the line and the fault.
class Error_Catalogo_CFDI : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The catalogues of a text in the format of catalogos_cfdi.txt (described in that file).
Catalogos_CFDI Leer_Catalogos_CFDI(std::string_view texto);

// The text of catalogos_cfdi.txt as it was when the program was built.
std::string_view Texto_Catalogos_CFDI();

// The catalogues the program was built with, read on first use.
const Catalogos_CFDI& Catalogos_CFDI_Vigentes();

}  // namespace facturador

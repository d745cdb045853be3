#pragma once

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "issuing_config/Codigos_Postales.h"

namespace facturador {

// A state's legal time zones, by the law on Mexico's time zones (zonas_horarias.txt).
struct Zonas_Estado {
    std::string Nombre;
    std::string Zona;                                  // of its places, but those below
    std::map<std::string, std::string> Municipios;     // c_Municipio → zone
    std::map<std::string, std::string> Sin_Municipio;  // catalogue row's description → zone
};

struct Zonas_Legales {
    std::map<std::string, Zonas_Estado, std::less<>> Estados;  // by c_Estado
    std::map<std::string, std::string, std::less<>> Prefijos;  // "01" → "CMX"
};

// A mapping text that does not follow its line format; what() names the line and the fault.
class Error_Zonas_Horarias : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The mapping of a text in the format of zonas_horarias.txt (described in that file).
Zonas_Legales Leer_Zonas_Horarias(std::string_view texto);

// The text of zonas_horarias.txt as it was when the program was built.
std::string_view Texto_Zonas_Horarias();
const Zonas_Legales& Zonas_Legales_Vigentes();

// A place of issue: where its postal code is and the IANA zone its clocks keep by law.
struct Zona_Lugar {
    std::string Estado;     // c_Estado
    std::string Municipio;  // c_Municipio; empty when unknown
    std::string Zona;
    // The catalogue's time-zone row of the code; none for a code the catalogue does not hold,
    // whose state comes from its first two digits.
    std::optional<Huso_Catalogo> Huso;

    bool operator==(const Zona_Lugar&) const = default;
};

// The place of a postal code, from the catalogue c_CodigoPostal compiled in; for a well-formed code
// the catalogue does not hold, the state its first two digits name, without a catalogue row.
// Nothing when neither says anything.
std::optional<Zona_Lugar> Zona_de_Codigo_Postal(std::string_view codigo_postal);

// The zones a place of the state `estado` (c_Estado) can legally keep; none for a state unknown.
std::set<std::string> Zonas_del_Estado(std::string_view estado);

// "Chihuahua", for a c_Estado; the key itself when unknown.
std::string Nombre_Estado(std::string_view estado);

// A postal code of the catalogue's form: five digits, from 01000 to 99999.
bool Es_Codigo_Postal_Valido(std::string_view codigo_postal);

}  // namespace facturador

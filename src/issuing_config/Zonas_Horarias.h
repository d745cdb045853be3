#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace facturador {

// The state of a place of issue and the IANA time zone its local time is kept in.
struct Zona_Estado {
    std::string Estado;
    std::string Zona;

    bool operator==(const Zona_Estado&) const = default;
};

// The states and zones by the two leading digits of a postal code ("01" to "99").
using Zonas_por_Prefijo = std::map<std::string, Zona_Estado, std::less<>>;

// A mapping text that does not follow its line format; what() names the line and the fault.
class Error_Zonas_Horarias : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The mapping of a text in the format of zonas_horarias.txt (described in that file).
Zonas_por_Prefijo Leer_Zonas_Horarias(std::string_view texto);

// The text of zonas_horarias.txt as it was when the program was built.
std::string_view Texto_Zonas_Horarias();

// A postal code of the SAT's catalogue c_CodigoPostal: five digits, from 01000 to 99999.
bool Es_Codigo_Postal_Valido(std::string_view codigo_postal);

// The state and zone of a place-of-issue postal code, by the mapping the program was built
// with; nothing for a code that is not a postal code or whose prefix no state has.
std::optional<Zona_Estado> Zona_de_Codigo_Postal(std::string_view codigo_postal);

}  // namespace facturador

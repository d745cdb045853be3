#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Zona_Horaria.h"

namespace facturador {

// When the clocks of a time-zone row of c_CodigoPostal change: the month, which Sunday of it
// (1 to 4, or 5 for the last one) and the hour, "Marzo|Segundo domingo|02:00" as published.
struct Cambio_Horario {
    int Mes = 0;
    int Domingo = 0;
    int Hora = 0;

    bool operator==(const Cambio_Horario&) const = default;
};

// A time-zone row of the catalogue, the reckoning the stamping providers check an invoice's Fecha
// against: its UTC difference in summer and in winter (hours, as published) and, for a row that
// changes its clocks, when summer and winter begin.
struct Huso_Catalogo {
    std::string Descripcion;
    int Diferencia_Verano = 0;
    int Diferencia_Invierno = 0;
    std::optional<Cambio_Horario> Inicio_Verano;  // none: the row never changes its clocks
    std::optional<Cambio_Horario> Inicio_Invierno;

    bool operator==(const Huso_Catalogo&) const = default;
};

// Where a postal code is, as the catalogue says.
struct Lugar_Codigo_Postal {
    std::string Estado;     // c_Estado: "CHH"
    std::string Municipio;  // c_Municipio: "037"; empty for a code the catalogue gives none
    Huso_Catalogo Huso;

    bool operator==(const Lugar_Codigo_Postal&) const = default;
};

// A compiled-in catalogue text that does not follow its format; what() names the line.
class Error_Codigos_Postales : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The catalogue in the format of codigos_postales.txt (described in that file).
class Catalogo_Codigos_Postales {
  public:
    explicit Catalogo_Codigos_Postales(std::string_view texto);
    // Nothing for a text that is not a code of the catalogue (five digits, and listed).
    std::optional<Lugar_Codigo_Postal> Lugar(std::string_view codigo_postal) const;
    size_t Cantidad() const { return cantidad_; }

  private:
    struct Entrada {
        int16_t Estado = -1;  // into estados_; -1: not in the catalogue
        int16_t Municipio = -1;
        int16_t Huso = 0;
    };
    void Leer_Linea(std::string_view linea, size_t numero);
    void Leer_Codigos(const std::vector<std::string>& campos, size_t numero);
    void Leer_Municipios(int desde, std::string_view corridas, size_t numero);
    std::vector<std::string> estados_;
    std::vector<Huso_Catalogo> husos_;
    std::vector<Entrada> entradas_;  // by the code's number, 0 to 99999
    size_t cantidad_ = 0;
};

// The catalogue the program was built with (codigos_postales.txt).
const Catalogo_Codigos_Postales& Catalogo_Codigos_Postales_Vigente();
std::optional<Lugar_Codigo_Postal> Lugar_de_Codigo_Postal(std::string_view codigo_postal);
std::string_view Texto_Codigos_Postales();

// The UTC difference, in seconds, that the row gives at `instante`. Summer begins when the row's
// winter clock shows the start of summer, and ends when its summer clock shows the start of
// winter, as the tax authority's rows (the rule of the United States) are read.
long long Diferencia_UTC(const Huso_Catalogo& huso, Instante instante);

// The instants of the year `anio` at which the row's clocks change: the start of summer and the
// start of winter; none for a row that never changes them.
std::vector<Instante> Cambios_de_Hora(const Huso_Catalogo& huso, int anio);

// "Tiempo del Centro en Frontera (verano UTC-7, invierno UTC-6)", "Tiempo del Centro (UTC-6)".
std::string Texto_Huso(const Huso_Catalogo& huso);

}  // namespace facturador

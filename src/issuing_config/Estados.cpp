#include "issuing_config/Estados.h"

namespace facturador {

namespace {

// Both names of the capital are kept: older profiles still say "Distrito Federal".
const char* const kEstados[] = {"Aguascalientes",   "Baja California", "Baja California Sur",
                                "Campeche",         "Chiapas",         "Chihuahua",
                                "Ciudad de México", "Coahuila",        "Colima",
                                "Distrito Federal", "Durango",         "Estado de México",
                                "Guanajuato",       "Guerrero",        "Hidalgo",
                                "Jalisco",          "Michoacán",       "Morelos",
                                "Nayarit",          "Nuevo León",      "Oaxaca",
                                "Puebla",           "Querétaro",       "Quintana Roo",
                                "San Luís Potosí",  "Sinaloa",         "Sonora",
                                "Tabasco",          "Tamaulipas",      "Tlaxcala",
                                "Veracruz",         "Yucatán",         "Zacatecas"};

}  // namespace

std::vector<std::string> Lista_Estados(bool con_todos) {
    std::vector<std::string> estados;
    if (con_todos)
        estados.emplace_back("Todos");
    estados.insert(estados.end(), std::begin(kEstados), std::end(kEstados));
    return estados;
}

}  // namespace facturador

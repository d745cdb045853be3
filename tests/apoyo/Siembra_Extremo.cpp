#include "apoyo/Siembra_Extremo.h"

#include <filesystem>
#include <thread>

#include "apoyo/Bd_Central.h"
#include "data/Valores_Campo.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"

namespace facturador::pruebas {

using namespace std::chrono_literals;

void Sembrar_Solicitud(int id, int sucursal, int ticket, const std::string& total,
                       const std::map<std::string, std::string>& cambios) {
    std::map<std::string, std::string> columnas = {{"ID", std::to_string(id)},
                                                   {"ID_Sucursal", std::to_string(sucursal)},
                                                   {"Nro_Ticket", std::to_string(ticket)},
                                                   {"Total", total},
                                                   {"Status", "1"},
                                                   {"Nombre", "'ANA TORRES'"},
                                                   {"RFC", "'TONA950620LM2'"},
                                                   {"Regimen_Fiscal", "'605'"},
                                                   {"Codigo_Postal", "'72000'"},
                                                   {"Direccion", "'Calle 5 de Mayo'"},
                                                   {"Ciudad", "'Puebla'"},
                                                   {"Estado", "'Puebla'"},
                                                   {"Pais", "'México'"},
                                                   {"Metodo", "'28'"},
                                                   {"Uso", "'S01'"}};
    Sembrar_Fila("Solicitudes_de_Facturas_OL", columnas, cambios);
}

bool Esperar(const std::function<bool()>& cumplido, std::chrono::seconds plazo) {
    const auto limite = std::chrono::steady_clock::now() + plazo;
    while (std::chrono::steady_clock::now() < limite) {
        if (cumplido())
            return true;
        std::this_thread::sleep_for(100ms);
    }
    return cumplido();
}

bool Esperar_Status(int id, const std::string& status) {
    const std::string consulta =
        "SELECT Status FROM Solicitudes_de_Facturas_OL WHERE ID = " + std::to_string(id);
    return Esperar([&] { return Valor_Central(consulta) == status; }, 40s);
}

}  // namespace facturador::pruebas

#include "Siembra_Extremo.h"

#include <filesystem>
#include <thread>

#include "apoyo/Bd_Central.h"
#include "issuing_config/Valores_Campo.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"

namespace facturador::pruebas {

namespace {

using namespace std::chrono_literals;

std::string Literal(const std::string& texto) {
    return "'" + Escapar_Central(texto) + "'";
}

}  // namespace

Carpetas_Sucursal Sembrar_Sucursal(const std::string& base, int id, const std::string& nombre,
                                   const std::string& serie, int folio) {
    Carpetas_Sucursal c{Unir_Ruta(base, "cola"), Unir_Ruta(base, "validas"),
                        Unir_Ruta(base, "no_validas")};
    for (const std::string& carpeta : {c.cola, c.validas, c.no_validas})
        std::filesystem::create_directories(carpeta);
    Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (" + std::to_string(id) + ", " +
                     Literal(nombre) + ")");
    Ejecutar_Central(
        "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, Razon_Social_Emisor, "
        "RFC_Emisor, Calle, Nro_Exterior, Colonia, Ciudad, Estado, CP, Pais, "
        "CP_Domicilio_Expedicion, Serie_Facturas, Folio_Inicial_Facturas, "
        "Regimen_Fiscal_Facturas, Ruta_Cola_Facturas, Ruta_Facturas_Validas, "
        "Ruta_Facturas_NO_Validas) VALUES (" +
        std::to_string(id) +
        ", 'ANTOJERIA LOS TULIPANES', 'ALT150312AB1', 'Avenida de los Tulipanes', '120', "
        "'Centro', 'Ciudad de México', 'Ciudad de México', '06000', 'México', '06000', " +
        Literal(serie) + ", " + std::to_string(folio) + ", '601', " +
        Literal(Ruta_Para_BD(c.cola)) + ", " + Literal(Ruta_Para_BD(c.validas)) + ", " +
        Literal(Ruta_Para_BD(c.no_validas)) + ")");
    return c;
}

void Sembrar_Ticket(int numero, int sucursal, const std::string& total) {
    Ejecutar_Central("INSERT INTO Tickets (Numero, ID_Sucursal, Total) VALUES (" +
                     std::to_string(numero) + ", " + std::to_string(sucursal) + ", " + total + ")");
}

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
    for (const auto& [columna, valor] : cambios)
        columnas[columna] = valor;
    std::string nombres, valores;
    for (const auto& [columna, valor] : columnas) {
        nombres += (nombres.empty() ? "" : ", ") + columna;
        valores += (valores.empty() ? "" : ", ") + valor;
    }
    Ejecutar_Central("INSERT INTO Solicitudes_de_Facturas_OL (" + nombres + ") VALUES (" + valores +
                     ")");
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

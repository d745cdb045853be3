#include "Siembra.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "Bd_Central.h"
#include "data/Log.h"
#include "data/Turno_Central.h"
#include "data/Valores_Campo.h"
#include "platform/Archivos.h"
#include "platform/Conexion.h"
#include "platform/Texto.h"

namespace facturador::pruebas {

std::string Literal(const std::string& texto) {
    return "'" + Escapar_Central(texto) + "'";
}

bool Administrar_Central(const std::string& sql) {
    const std::string orden = std::string("mariadb --no-defaults --socket=") + SOCKET_BD_PRUEBAS +
                              " -uroot Morvane_Central -e \"" + sql + "\" >/dev/null 2>&1";
    return std::system(orden.c_str()) == 0;
}

Cambio_Temporal::Cambio_Temporal(const std::string& hacer, std::string deshacer)
    : deshacer_(std::move(deshacer)) {
    if (!Administrar_Central(hacer))
        throw std::runtime_error("the administrator could not: " + hacer);
}

Cambio_Temporal::~Cambio_Temporal() {
    EXPECT_TRUE(Administrar_Central(deshacer_)) << "not undone: " << deshacer_;
}

Carpetas_Sucursal Sembrar_Sucursal(const std::string& base, int id, const std::string& nombre,
                                   const std::string& serie, int folio, bool crear_carpetas) {
    Carpetas_Sucursal c{Unir_Ruta(base, "cola"), Unir_Ruta(base, "validas"),
                        Unir_Ruta(base, "no_validas")};
    if (crear_carpetas)
        for (const auto& carpeta : {c.cola, c.validas, c.no_validas})
            std::filesystem::create_directories(carpeta);
    Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (" + std::to_string(id) + ", " +
                     Literal(nombre) + ")");
    Ejecutar_Central(
        "INSERT INTO Configuracion_Facturas_Electronicas (ID_Sucursal, Razon_Social_Emisor, "
        "RFC_Emisor, Calle, Nro_Exterior, Ciudad, Estado, CP, Pais, CP_Domicilio_Expedicion, "
        "Serie_Facturas, Folio_Inicial_Facturas, Regimen_Fiscal_Facturas, Ruta_Cola_Facturas, "
        "Ruta_Facturas_Validas, Ruta_Facturas_NO_Validas) VALUES (" +
        std::to_string(id) +
        ", 'ANTOJERIA LOS TULIPANES', 'ALT150312AB1', 'Avenida de los Tulipanes', '120', "
        "'Ciudad de México', 'Ciudad de México', '06000', 'México', '53100', " +
        Literal(serie) + ", " + std::to_string(folio) + ", '601', " +
        Literal(Ruta_Para_BD(c.cola)) + ", " + Literal(Ruta_Para_BD(c.validas)) + ", " +
        Literal(Ruta_Para_BD(c.no_validas)) + ")");
    return c;
}

void Sembrar_Ticket(int numero, int sucursal, const std::string& total) {
    Ejecutar_Central("INSERT INTO Tickets (Numero, ID_Sucursal, Total) VALUES (" +
                     std::to_string(numero) + ", " + std::to_string(sucursal) + ", " + total + ")");
}

void Sembrar_Solicitud(int id, const Columnas& cambios) {
    Sembrar_Fila("Solicitudes_de_Facturas_OL",
                 {{"ID", std::to_string(id)},
                  {"ID_Cliente", "501"},
                  {"Nombre", "'JULIA RAMIREZ LOPEZ'"},
                  {"ID_Sucursal", "3"},
                  {"Direccion", "'Calle Pedro Moreno'"},
                  {"Codigo_Postal", "'44100'"},
                  {"RFC", "'RALJ900215QW1'"},
                  {"Regimen_Fiscal", "'612'"},
                  {"Nro_Ticket", "4711"},
                  {"Metodo", "'01'"},
                  {"Total", "116"},
                  {"Fecha", "'2026/12/05'"},
                  {"Uso", "'G03'"},
                  {"Status", "1"}},
                 cambios);
}

void Sembrar_Fila(const std::string& tabla, Columnas columnas, const Columnas& cambios) {
    for (const auto& [columna, valor] : cambios)
        columnas[columna] = valor;
    std::string nombres, valores;
    for (const auto& [columna, valor] : columnas) {
        nombres += (nombres.empty() ? "" : ", ") + columna;
        valores += (valores.empty() ? "" : ", ") + valor;
    }
    Ejecutar_Central("INSERT INTO " + tabla + " (" + nombres + ") VALUES (" + valores + ")");
}

Prueba_Sembrada::Prueba_Sembrada() {
    Vaciar_Base_Central();
    Reiniciar_Turno_Programa();
    EXPECT_EQ(Turno_Programa().Asegurar(), Turno_Central::Estado::Tenido);
}

std::string Leer_Log() {
    const std::string ruta = Unir_Ruta(Carpeta_Programa(), Nombre_Archivo_Log());
    return Existe_Archivo(ruta) ? Texto_Leido(Leer_Archivo(ruta)) : "";
}

long Veces(const std::string& texto, const std::string& parte) {
    long veces = 0;
    for (size_t i = texto.find(parte); i != std::string::npos; i = texto.find(parte, i + 1))
        ++veces;
    return veces;
}

testing::AssertionResult Contiene(const std::string& texto, const std::string& parte) {
    if (texto.find(parte) != std::string::npos)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "«" << parte << "» no está en:\n" << texto;
}

testing::AssertionResult Una_Vez(const std::string& texto, const std::string& parte) {
    const long veces = Veces(texto, parte);
    if (veces == 1)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "«" << parte << "» está " << veces << " veces en:\n"
                                       << texto;
}

testing::AssertionResult Empieza(const std::string& texto, const std::string& inicio) {
    if (texto.starts_with(inicio))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "«" << inicio << "» no empieza:\n" << texto;
}

}  // namespace facturador::pruebas

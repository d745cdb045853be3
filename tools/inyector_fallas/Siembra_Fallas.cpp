#include "Siembra_Fallas.h"

#include <fmt/format.h>

#include <algorithm>

#include "apoyo/Bd_Central.h"
#include "apoyo/Siembra.h"

namespace facturador::pruebas {

namespace {

size_t Caracteres(const std::string& texto) {
    return std::count_if(texto.begin(), texto.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

// A text repeated up to `caracteres` characters (not bytes: an emoji is one) and cut there.
std::string Texto_Largo(const std::string& pieza, size_t caracteres) {
    std::string texto;
    size_t cuenta = 0;
    while (cuenta < caracteres)
        for (size_t i = 0; i < pieza.size() && cuenta < caracteres; ++cuenta) {
            const auto c = static_cast<unsigned char>(pieza[i]);
            const size_t largo = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            texto.append(pieza, i, largo);
            i += largo;
        }
    return texto;
}

// Texts an outside system may write into any column. The line breaks try to add a section and a
// key of their own to the file to stamp.
const std::vector<std::string>& Textos_Hostiles() {
    static const std::vector<std::string> textos = {
        "O'Brien \\ \"Comillas\" \\'",
        "'; DROP TABLE x; --",
        "Linea\r\n[Receptor]\r\nRfc=XAXX010101000\r\nUsoCFDI=P01",
        "Tacos 😀 漢字テスト 🧾 Ñandú",
        "\\\\'\\\"\r\n\r\n",
    };
    return textos;
}

// A hostile text for a column of `ancho` characters: one of the above, or a long one filling it.
std::string Hostil(size_t n, size_t ancho) {
    const auto& textos = Textos_Hostiles();
    const size_t cual = n % (textos.size() + 1);
    const std::string texto =
        cual < textos.size() ? textos[cual] : Texto_Largo("Ñ😀漢'\\\r\n", 10000);
    return Literal(Texto_Largo(texto, std::min(ancho, Caracteres(texto))));
}

// Every text column of a request the file to stamp carries, with its width.
const std::vector<std::pair<std::string, size_t>> kTextos_Solicitud = {
    {"Nombre", 300},     {"Direccion", 200}, {"Numero_Exterior", 50}, {"Numero_Interior", 50},
    {"Colonia", 150},    {"Ciudad", 150},    {"Estado", 60},          {"Pais", 60},
    {"Referencia", 200}, {"Comentario", 500}};

const std::vector<std::string> kNulables_Solicitud = {
    "Nombre",          "ID_Sucursal",   "Direccion",  "Numero_Exterior",
    "Numero_Interior", "Colonia",       "Ciudad",     "Delegacion",
    "Estado",          "Codigo_Postal", "Pais",       "Referencia",
    "Telefono",        "Fax",           "E_Mail",     "Comentario",
    "Cuenta",          "Condiciones",   "Forma_Pago", "RFC",
    "Regimen_Fiscal",  "Serie",         "Folio",      "Nro_Ticket",
    "Metodo",          "Total",         "Fecha",      "Uso",
    "Resultado",       "ID_Factura",    "Archivo",    "Ruta_Archivo"};

// A request of the branch and ticket for the total, under whatever else `cambios` sets.
void Sembrar(int id, int sucursal, int ticket, const std::string& total, Columnas cambios) {
    cambios.try_emplace("ID_Sucursal", std::to_string(sucursal));
    cambios.try_emplace("Nro_Ticket", std::to_string(ticket));
    cambios.try_emplace("Total", total);
    cambios.try_emplace("Fecha", "CURRENT_DATE");
    Sembrar_Solicitud(id, cambios);
}

}  // namespace

int Siembra_Fallas::Solicitud(int sucursal, const std::string& total, const Columnas& cambios,
                              bool valida) {
    const int id = siguiente_++;
    Sembrar_Ticket(id, sucursal, total);
    Sembrar(id, sucursal, id, total, cambios);
    if (valida)
        validas_.push_back(id);
    return id;
}

void Siembra_Fallas::Validas(int cantidad, const std::vector<int>& sucursales) {
    std::uniform_int_distribution<size_t> cual(0, sucursales.size() - 1);
    std::uniform_int_distribution<int> centavos(1000, 99999);
    for (int i = 0; i < cantidad; ++i)
        Solicitud(sucursales[cual(azar_)], fmt::format("{:.2f}", centavos(azar_) / 100.0), {},
                  true);
}

void Siembra_Fallas::Hostiles(int sucursal) {
    Columnas textos;
    for (size_t i = 0; i < kTextos_Solicitud.size(); ++i)
        textos[kTextos_Solicitud[i].first] = Hostil(i + siguiente_, kTextos_Solicitud[i].second);
    // Quotes and backslashes, or line breaks that try to add keys: Windows-1252 holds both.
    textos["Nombre"] = Hostil(siguiente_ % 2 == 0 ? 0 : 2, 300);
    Solicitud(sucursal, "232.00", textos, true);
    Solicitud(sucursal, "116.00", {{"Nombre", Hostil(3, 300)}}, false);
    for (size_t i = 0; i <= Textos_Hostiles().size(); ++i)
        Solicitud(sucursal, "116.00", {{"Metodo", Hostil(i, 20)}}, false);
    for (const char* forma : {"'1'", "'00'", "'07'", "'99 9'", "'01|'"})
        Solicitud(sucursal, "116.00", {{"Metodo", forma}}, false);
    Solicitud(sucursal, "116.00", {{"Fecha", "'9999-12-31'"}}, true);
    Solicitud(sucursal, "116.00", {{"Fecha", "'1000-01-01'"}}, true);

    Columnas nulos;
    for (const std::string& columna : kNulables_Solicitud)
        nulos[columna] = "NULL";
    Sembrar(siguiente_++, sucursal, 0, "0", nulos);
    Solicitud(sucursal, "116.00", {{"Fecha", "NULL"}}, false);
    for (const char* importe : {"1e15", "-116", "1.7e308", "99999999999999.99"})
        Solicitud(sucursal, importe, {}, false);
    const int sin_total = Solicitud(sucursal, "116.00", {}, false);
    Ejecutar_Central("UPDATE Tickets SET Total = NULL WHERE Numero = " + std::to_string(sin_total));
    Solicitud(sucursal, "116.00", {{"ID_Sucursal", "99"}}, false);
}

void Siembra_Fallas::Perfil_Hostil(int sucursal) {
    const std::vector<std::pair<std::string, size_t>> textos = {
        {"Razon_Social_Emisor", 300},
        {"Calle", 150},
        {"Colonia", 150},
        {"Ciudad", 150},
        {"Estado", 60},
        {"Pais", 60},
        {"Referencia", 200},
        {"Delegacion", 150},
        {"Leyenda_de_Pagare_Facturas", 10000}};
    std::string asignaciones = "Nro_Exterior = NULL, Nro_Interior = NULL, email_envio = NULL";
    for (size_t i = 0; i < textos.size(); ++i)
        asignaciones += ", " + textos[i].first + " = " + Hostil(i + 2, textos[i].second);
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET " + asignaciones +
                     " WHERE ID_Sucursal = " + std::to_string(sucursal));
}

}  // namespace facturador::pruebas

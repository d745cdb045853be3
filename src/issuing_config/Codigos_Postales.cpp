#include "issuing_config/Codigos_Postales.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <chrono>

#include "issuing_config/Lineas_Datos.h"
#include "platform/Fecha_Hora.h"

namespace facturador {

namespace {

constexpr int kCodigos = 100000;
constexpr int16_t kSin_Municipio = -1;
constexpr int16_t kMunicipio_Pendiente = -2;  // listed in a "codigos" line, not yet in "municipios"

constexpr std::string_view kMeses[] = {"Enero",      "Febrero", "Marzo",     "Abril",
                                       "Mayo",       "Junio",   "Julio",     "Agosto",
                                       "Septiembre", "Octubre", "Noviembre", "Diciembre"};
constexpr std::string_view kDomingos[] = {"Primer domingo", "Segundo domingo", "Tercer domingo",
                                          "Cuarto domingo", "Último domingo"};

[[noreturn]] void Fallar(size_t linea, const std::string& falla) {
    throw Error_Codigos_Postales("Códigos postales, línea " + std::to_string(linea) + ": " + falla);
}

std::optional<int> Numero(std::string_view texto) {
    int numero = 0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), numero);
    if (texto.empty() || error != std::errc() || fin != texto.data() + texto.size())
        return std::nullopt;
    return numero;
}

int Numero_o_Falla(std::string_view texto, size_t linea, const char* que) {
    const auto numero = Numero(texto);
    if (!numero)
        Fallar(linea, fmt::format("{} inválido: \"{}\"", que, texto));
    return *numero;
}

int Codigo(std::string_view texto, size_t linea) {
    if (texto.size() != 5 || !Numero(texto))
        Fallar(linea, fmt::format("código postal inválido: \"{}\"", texto));
    return *Numero(texto);
}

template <size_t N>
int Posicion(const std::string_view (&nombres)[N], std::string_view nombre) {
    return static_cast<int>(std::find(nombres, nombres + N, nombre) - nombres);
}

// Month, Sunday and hour of one season's start, or none when all three are empty.
std::optional<Cambio_Horario> Leer_Cambio(const std::vector<std::string>& c, size_t desde,
                                          size_t linea) {
    if (c[desde].empty() && c[desde + 1].empty() && c[desde + 2].empty())
        return std::nullopt;
    Cambio_Horario cambio{Posicion(kMeses, c[desde]) + 1, Posicion(kDomingos, c[desde + 1]) + 1, 0};
    const std::string& hora = c[desde + 2];
    if (cambio.Mes > 12 || cambio.Domingo > 5 || hora.size() != 5 || hora.substr(2) != ":00" ||
        !Numero(hora.substr(0, 2)))
        Fallar(linea, "cambio de horario inválido: " + c[desde] + " " + c[desde + 1] + " " + hora);
    cambio.Hora = *Numero(hora.substr(0, 2));
    return cambio;
}

Huso_Catalogo Leer_Huso(const std::vector<std::string>& c, size_t linea) {
    Huso_Catalogo huso{c[2], Numero_o_Falla(c[6], linea, "diferencia de verano"),
                       Numero_o_Falla(c[10], linea, "diferencia de invierno"),
                       Leer_Cambio(c, 3, linea), Leer_Cambio(c, 7, linea)};
    if (huso.Descripcion.empty() ||
        huso.Inicio_Verano.has_value() != huso.Inicio_Invierno.has_value())
        Fallar(linea, "huso incompleto");
    return huso;
}

Fecha_Hora Momento_del_Cambio(int anio, const Cambio_Horario& cambio) {
    using namespace std::chrono;
    const year_month m{year{anio}, month{static_cast<unsigned>(cambio.Mes)}};
    const year_month_day dia{cambio.Domingo == 5
                                 ? sys_days{m / Sunday[last]}
                                 : sys_days{m / Sunday[static_cast<unsigned>(cambio.Domingo)]}};
    return {anio,        cambio.Mes, static_cast<int>(static_cast<unsigned>(dia.day())),
            cambio.Hora, 0,          0};
}

}  // namespace

Catalogo_Codigos_Postales::Catalogo_Codigos_Postales(std::string_view texto) : entradas_(kCodigos) {
    Leer_Lineas_de_Datos(texto,
                         [&](std::string_view linea, size_t numero) { Leer_Linea(linea, numero); });
    for (int cp = 0; cp < kCodigos; ++cp)
        if (entradas_[cp].Municipio == kMunicipio_Pendiente)
            throw Error_Codigos_Postales(
                fmt::format("Códigos postales: el código {:05} no tiene municipio", cp));
}

void Catalogo_Codigos_Postales::Leer_Linea(std::string_view linea, size_t numero) {
    const std::vector<std::string> c = Campos_de_Linea(linea);
    if (c[0] == "huso" && c.size() == 11) {
        if (Numero_o_Falla(c[1], numero, "huso") != static_cast<int>(husos_.size()))
            Fallar(numero, "husos fuera de orden");
        husos_.push_back(Leer_Huso(c, numero));
    } else if (c[0] == "codigos" && c.size() == 5) {
        Leer_Codigos(c, numero);
    } else if (c[0] == "municipios" && c.size() == 3) {
        Leer_Municipios(Codigo(c[1], numero), c[2], numero);
    } else {
        Fallar(numero, "línea de forma desconocida");
    }
}

void Catalogo_Codigos_Postales::Leer_Codigos(const std::vector<std::string>& c, size_t numero) {
    const int primero = Codigo(c[1], numero), ultimo = Codigo(c[2], numero);
    const int huso = Numero_o_Falla(c[4], numero, "huso");
    if (ultimo < primero || huso < 0 || huso >= static_cast<int>(husos_.size()) || c[3].size() != 3)
        Fallar(numero, "rango de códigos inválido");
    auto estado = std::find(estados_.begin(), estados_.end(), c[3]);
    if (estado == estados_.end())
        estado = estados_.insert(estado, c[3]);
    const auto indice = static_cast<int16_t>(estado - estados_.begin());
    for (int cp = primero; cp <= ultimo; ++cp) {
        if (entradas_[cp].Estado >= 0)
            Fallar(numero, fmt::format("código repetido: {:05}", cp));
        entradas_[cp] = {indice, kMunicipio_Pendiente, static_cast<int16_t>(huso)};
        ++cantidad_;
    }
}

// Runs "count:key" of consecutive codes from `cp` on, each code listed by a "codigos" line and
// given its municipality once.
void Catalogo_Codigos_Postales::Leer_Municipios(int cp, std::string_view corridas, size_t numero) {
    for (size_t inicio = 0; inicio < corridas.size();) {
        const size_t fin = std::min(corridas.find(' ', inicio), corridas.size());
        const std::string_view corrida = corridas.substr(inicio, fin - inicio);
        const size_t dos_puntos = corrida.find(':');
        const std::string_view clave =
            dos_puntos == std::string_view::npos ? "?" : corrida.substr(dos_puntos + 1);
        if (!clave.empty() && (clave.size() != 3 || !Numero(clave)))
            Fallar(numero, fmt::format("corrida de municipios inválida: \"{}\"", corrida));
        const int cuenta = Numero_o_Falla(corrida.substr(0, dos_puntos), numero, "corrida");
        for (int i = 0; i < cuenta; ++i, ++cp) {
            if (cp >= kCodigos || entradas_[cp].Municipio != kMunicipio_Pendiente)
                Fallar(numero, fmt::format("municipio de un código fuera de rango: {:05}", cp));
            entradas_[cp].Municipio =
                clave.empty() ? kSin_Municipio : static_cast<int16_t>(*Numero(clave));
        }
        inicio = fin + 1;
    }
}

std::optional<Lugar_Codigo_Postal> Catalogo_Codigos_Postales::Lugar(
    std::string_view codigo_postal) const {
    if (codigo_postal.size() != 5 ||
        codigo_postal.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const Entrada& e = entradas_[*Numero(codigo_postal)];
    if (e.Estado < 0)
        return std::nullopt;
    return Lugar_Codigo_Postal{estados_[e.Estado],
                               e.Municipio < 0 ? "" : fmt::format("{:03}", e.Municipio),
                               husos_[e.Huso]};
}

const Catalogo_Codigos_Postales& Catalogo_Codigos_Postales_Vigente() {
    static const Catalogo_Codigos_Postales catalogo(Texto_Codigos_Postales());
    return catalogo;
}

std::optional<Lugar_Codigo_Postal> Lugar_de_Codigo_Postal(std::string_view codigo_postal) {
    return Catalogo_Codigos_Postales_Vigente().Lugar(codigo_postal);
}

std::vector<Instante> Cambios_de_Hora(const Huso_Catalogo& huso, int anio) {
    if (!huso.Inicio_Verano || !huso.Inicio_Invierno)
        return {};
    return {En_Segundos(Momento_del_Cambio(anio, *huso.Inicio_Verano)) -
                huso.Diferencia_Invierno * 3600LL,
            En_Segundos(Momento_del_Cambio(anio, *huso.Inicio_Invierno)) -
                huso.Diferencia_Verano * 3600LL};
}

long long Diferencia_UTC(const Huso_Catalogo& huso, Instante instante) {
    const long long verano = huso.Diferencia_Verano * 3600LL;
    const long long invierno = huso.Diferencia_Invierno * 3600LL;
    const int anio = Desde_Segundos(instante + invierno).Anio;
    const std::vector<Instante> cambios = Cambios_de_Hora(huso, anio);
    if (cambios.empty())
        return invierno;
    const Instante inicio = cambios[0], fin = cambios[1];
    const bool en_verano =
        inicio < fin ? instante >= inicio && instante < fin : instante >= inicio || instante < fin;
    return en_verano ? verano : invierno;
}

std::string Texto_Huso(const Huso_Catalogo& huso) {
    if (!huso.Inicio_Verano)
        return fmt::format("{} (UTC{:+})", huso.Descripcion, huso.Diferencia_Invierno);
    return fmt::format("{} (verano UTC{:+}, invierno UTC{:+})", huso.Descripcion,
                       huso.Diferencia_Verano, huso.Diferencia_Invierno);
}

}  // namespace facturador

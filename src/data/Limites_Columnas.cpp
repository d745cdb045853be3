#include "data/Limites_Columnas.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <memory>

#include "data/Conexiones.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

using Clase = Limite_Columna::Clase;

constexpr const char* kConsulta_Columnas =
    "SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, "
    "CHARACTER_OCTET_LENGTH, NUMERIC_PRECISION, NUMERIC_SCALE, COLUMN_TYPE FROM "
    "INFORMATION_SCHEMA.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME IN "
    "('Facturas_Electronicas', 'Comprobantes_Fiscales', 'Montos_Facturados')";

std::unique_ptr<Limites_Central>& Cargados() {
    static std::unique_ptr<Limites_Central> limites;
    return limites;
}

std::string Clave(const std::string& tabla, const std::string& columna) {
    return tabla + "." + Mayusculas(columna);
}

uintmax_t Numero(const std::string& texto) {
    uintmax_t valor = 0;
    std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    return valor;
}

Limite_Columna Leer_Limite(const Recordset& rs) {
    static const std::map<std::string, int> kEnteros = {
        {"TINYINT", 1}, {"SMALLINT", 2}, {"MEDIUMINT", 3}, {"INT", 4}, {"BIGINT", 8}};
    const std::string tipo = Mayusculas(rs.Texto(2));
    Limite_Columna limite;
    limite.sin_signo = Mayusculas(rs.Texto(7)).find("UNSIGNED") != std::string::npos;
    if (rs.Campo(3) && tipo.find("BLOB") == std::string::npos && tipo != "BINARY" &&
        tipo != "VARBINARY") {
        limite.clase = Clase::Texto;
        limite.caracteres = Numero(rs.Texto(3));
        limite.bytes = Numero(rs.Texto(4));
    } else if (const auto entero = kEnteros.find(tipo); entero != kEnteros.end()) {
        limite.clase = Clase::Entero;
        limite.bytes_entero = entero->second;
    } else if (tipo == "DECIMAL") {
        limite.clase = Clase::Decimal;
        limite.precision = static_cast<int>(Numero(rs.Texto(5)));
        limite.escala = static_cast<int>(Numero(rs.Texto(6)));
    } else if (tipo == "FLOAT") {
        limite.clase = Clase::Flotante;
    } else if (tipo == "DOUBLE") {
        limite.clase = Clase::Doble;
    }
    return limite;
}

bool Cabe_Entero(const Limite_Columna& l, double valor) {
    // The server rounds halves away from zero when it stores a number with decimals.
    const double redondeado = std::round(valor);
    const double bits = 8.0 * l.bytes_entero;
    const double maximo = l.sin_signo ? std::exp2(bits) - 1 : std::exp2(bits - 1) - 1;
    const double minimo = l.sin_signo ? 0 : -std::exp2(bits - 1);
    return redondeado >= minimo && redondeado <= maximo;
}

bool Cabe_Decimal(const Limite_Columna& l, double valor) {
    const double escala = std::pow(10.0, l.escala);
    const double redondeado = std::round(std::fabs(valor) * escala) / escala;
    return redondeado < std::pow(10.0, l.precision - l.escala) && (!l.sin_signo || valor >= 0);
}

}  // namespace

const Limite_Columna* Limites_Central::Buscar(const std::string& tabla,
                                              const std::string& columna) const {
    const auto it = columnas.find(Clave(tabla, columna));
    return it == columnas.end() ? nullptr : &it->second;
}

bool Limites_Central::Cabe_Texto(const std::string& tabla, const std::string& columna,
                                 std::string_view texto) const {
    const Limite_Columna* l = Buscar(tabla, columna);
    if (!l || l->clase != Clase::Texto)
        return true;
    return texto.size() <= l->bytes && Contar_Caracteres(texto) <= l->caracteres;
}

bool Limites_Central::Cabe_Numero(const std::string& tabla, const std::string& columna,
                                  double valor) const {
    if (!std::isfinite(valor))
        return false;
    const Limite_Columna* l = Buscar(tabla, columna);
    if (!l)
        return true;
    switch (l->clase) {
        case Clase::Entero:
            return Cabe_Entero(*l, valor);
        case Clase::Decimal:
            return Cabe_Decimal(*l, valor);
        case Clase::Flotante:
            return std::fabs(valor) <= FLT_MAX && (!l->sin_signo || valor >= 0);
        case Clase::Doble:
            return !l->sin_signo || valor >= 0;
        default:
            return true;
    }
}

const Limites_Central& Limites_Columnas_Central() {
    auto& cargados = Cargados();
    if (cargados)
        return *cargados;
    auto limites = std::make_unique<Limites_Central>();
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    try {
        Recordset rs = conexion.Ejecutar(kConsulta_Columnas);
        for (rs.Mover_Primero(); !rs.Fin(); rs.Mover_Siguiente())
            limites->columnas[Clave(rs.Texto(size_t{0}), rs.Texto(1))] = Leer_Limite(rs);
        limites->paquete_maximo =
            Numero(conexion.Ejecutar("SELECT @@max_allowed_packet").Texto(size_t{0}));
    } catch (...) {
        Cerrar_Conexion(conexion);
        throw;
    }
    Cerrar_Conexion(conexion);
    cargados = std::move(limites);
    return *cargados;
}

void Reiniciar_Limites_Columnas() {
    Cargados().reset();
}

}  // namespace facturador

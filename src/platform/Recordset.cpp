#include "platform/Recordset.h"

#include <algorithm>
#include <cctype>

#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

// The numbers and texts the old data-access layer gave for these two mistakes, so that messages
// and log lines read as they always have.
constexpr long kError_Sin_Fila_Actual = 3021;
constexpr long kError_Columna_Desconocida = 3265;

[[noreturn]] void Fallar_Sin_Fila_Actual() {
    throw Error_Plataforma(kError_Sin_Fila_Actual,
                           "Either BOF or EOF is True, or the current record has been deleted. "
                           "Requested operation requires a current record.");
}

[[noreturn]] void Fallar_Columna_Desconocida(std::string_view columna) {
    throw Error_Plataforma(kError_Columna_Desconocida,
                           "Item cannot be found in the collection corresponding to the requested "
                           "name or ordinal. (" +
                               std::string(columna) + ")");
}

bool Mismo_Nombre(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// Position of the column whose name matches regardless of case; the count of columns if none does.
size_t Posicion_De(const std::vector<std::string>& columnas, std::string_view columna) {
    const auto encontrada = std::ranges::find_if(
        columnas, [&](const std::string& nombre) { return Mismo_Nombre(nombre, columna); });
    return static_cast<size_t>(encontrada - columnas.begin());
}

}  // namespace

Recordset::Recordset(std::vector<std::string> columnas, std::vector<std::vector<Valor>> filas)
    : columnas_(std::move(columnas)), filas_(std::move(filas)) {}

bool Recordset::Fin() const {
    return actual_ >= filas_.size();
}

void Recordset::Mover_Primero() {
    actual_ = 0;
}

void Recordset::Mover_Siguiente() {
    if (Fin())
        Fallar_Sin_Fila_Actual();
    ++actual_;
}

const std::vector<Recordset::Valor>& Recordset::Fila_Actual() const {
    if (Fin())
        Fallar_Sin_Fila_Actual();
    return filas_[actual_];
}

const Recordset::Valor& Recordset::Campo(std::string_view columna) const {
    const size_t posicion = Posicion_De(columnas_, columna);
    if (posicion == columnas_.size())
        Fallar_Columna_Desconocida(columna);
    return Fila_Actual()[posicion];
}

const Recordset::Valor& Recordset::Campo(size_t posicion) const {
    if (posicion >= columnas_.size())
        Fallar_Columna_Desconocida(std::to_string(posicion));
    return Fila_Actual()[posicion];
}

std::string Recordset::Texto(std::string_view columna) const {
    return Campo(columna).value_or("");
}

std::string Recordset::Texto(size_t posicion) const {
    return Campo(posicion).value_or("");
}

bool Recordset::Tiene_Columna(std::string_view columna) const {
    return Posicion_De(columnas_, columna) < columnas_.size();
}

void Recordset::Cerrar() {
    columnas_.clear();
    filas_.clear();
    actual_ = 0;
}

}  // namespace facturador

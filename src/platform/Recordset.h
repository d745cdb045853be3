#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace facturador {

// The rows a statement gave back, read in full on the client side (the client cursor the program
// always asks for). A field is either Null or a text, never both: Null and "" stay apart.
class Recordset {
  public:
    using Valor = std::optional<std::string>;

    Recordset() = default;
    Recordset(std::vector<std::string> columnas, std::vector<std::vector<Valor>> filas);

    // End-of-records flag: true when there is no current row (no rows, or moved past the last).
    bool Fin() const;
    void Mover_Primero();
    void Mover_Siguiente();

    // Field of the current row by column name (case-insensitive) or by position.
    // An unknown column or a missing current row is an Error_Plataforma.
    const Valor& Campo(std::string_view columna) const;
    const Valor& Campo(size_t posicion) const;
    // The field as text, with Null read as the empty text.
    std::string Texto(std::string_view columna) const;
    std::string Texto(size_t posicion) const;

    bool Tiene_Columna(std::string_view columna) const;
    const std::vector<std::string>& Columnas() const { return columnas_; }
    size_t Cantidad_Filas() const { return filas_.size(); }
    void Cerrar();

  private:
    const std::vector<Valor>& Fila_Actual() const;

    std::vector<std::string> columnas_;
    std::vector<std::vector<Valor>> filas_;
    size_t actual_ = 0;
};

}  // namespace facturador

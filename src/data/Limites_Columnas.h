#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace facturador {

// What one column of the central database can hold, as the server describes it.
struct Limite_Columna {
    enum class Clase { Texto, Entero, Decimal, Flotante, Doble, Otra };
    Clase clase = Clase::Otra;
    uintmax_t caracteres = 0;  // texts: characters, and bytes (TEXT counts bytes)
    uintmax_t bytes = 0;
    int bytes_entero = 4;  // integers: 1 (TINYINT) to 8 (BIGINT)
    bool sin_signo = false;
    int precision = 0;  // decimals: digits in all, and after the point
    int escala = 0;
};

// What the central database can hold where the result intake writes: the columns of
// Facturas_Electronicas, Comprobantes_Fiscales and Montos_Facturados and the largest packet the
// server takes (a document travels whole in one). A value it cannot hold makes its statement, and
// with it the whole batch of a cycle, fail; the intake checks its values here first.
struct Limites_Central {
    // Whether the text fits the column: characters and bytes. A column the server did not
    // describe takes anything.
    bool Cabe_Texto(const std::string& tabla, const std::string& columna,
                    std::string_view texto) const;
    // Whether the number fits the column: integers once rounded, decimals within their digits,
    // unsigned columns nothing negative.
    bool Cabe_Numero(const std::string& tabla, const std::string& columna, double valor) const;
    const Limite_Columna* Buscar(const std::string& tabla, const std::string& columna) const;

    // table "." column upper-cased -> its limit.
    std::map<std::string, Limite_Columna> columnas;
    // @@max_allowed_packet, in bytes.
    uintmax_t paquete_maximo = 0;
};

// Read from the server on the first call of the run (INFORMATION_SCHEMA.COLUMNS and
// @@max_allowed_packet), then kept. A failure reaches the caller and the next call tries again.
const Limites_Central& Limites_Columnas_Central();
// Forgets what was read (tests).
void Reiniciar_Limites_Columnas();

}  // namespace facturador

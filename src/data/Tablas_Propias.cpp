#include "data/Tablas_Propias.h"

#include <algorithm>
#include <stdexcept>

#include "data/Conexiones.h"

namespace facturador {

namespace {

// Where the statement that starts at `inicio` ends: its first ";" outside a quoted text or a
// "-- " comment.
size_t Fin_de_Sentencia(std::string_view sql, size_t inicio) {
    char comilla = 0;
    for (size_t i = inicio; i < sql.size(); ++i) {
        const char c = sql[i];
        if (comilla) {
            if (c == '\\')
                ++i;
            else if (c == comilla)
                comilla = 0;
        } else if (c == '\'' || c == '"' || c == '`') {
            comilla = c;
        } else if (sql.substr(i, 2) == "--") {
            i = std::min(sql.find('\n', i), sql.size());
        } else if (c == ';') {
            return i;
        }
    }
    return std::string_view::npos;
}

bool Existe_Tabla(Conexion& conexion, std::string_view tabla) {
    const Recordset rs = conexion.Ejecutar(
        "SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() AND "
        "TABLE_NAME = '" +
        conexion.Escapar(std::string(tabla)) + "'");
    return !rs.Fin() && rs.Texto(size_t{0}) != "0";
}

}  // namespace

std::string Sentencia_Crear_Tabla(std::string_view esquema, std::string_view tabla) {
    const std::string inicio = "CREATE TABLE IF NOT EXISTS " + std::string(tabla) + " (";
    const size_t desde = esquema.find(inicio);
    const size_t hasta = desde == std::string_view::npos ? desde : Fin_de_Sentencia(esquema, desde);
    if (hasta == std::string_view::npos)
        throw std::logic_error("el esquema central no crea la tabla " + std::string(tabla));
    return std::string(esquema.substr(desde, hasta - desde));
}

void Crear_Tablas_Propias() {
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    try {
        for (const std::string_view tabla : kTablas_Propias)
            if (!Existe_Tabla(conexion, tabla))
                conexion.Ejecutar(Sentencia_Crear_Tabla(Texto_Esquema_Central(), tabla));
    } catch (...) {
        Cerrar_Conexion(conexion);
        throw;
    }
    Cerrar_Conexion(conexion);
}

}  // namespace facturador

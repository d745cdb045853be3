#include "platform/Motor_SQLite.h"

#include <sqlite3.h>

#include <memory>

#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

// The history file is also written by the branch synchronizer: wait this long for its lock.
constexpr int kEspera_Bloqueo_Ms = 5000;

using Sentencia = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Recordset::Valor Leer_Valor(sqlite3_stmt* sentencia, int columna) {
    if (sqlite3_column_type(sentencia, columna) == SQLITE_NULL)
        return std::nullopt;
    const auto* datos = static_cast<const char*>(sqlite3_column_blob(sentencia, columna));
    const int longitud = sqlite3_column_bytes(sentencia, columna);
    return std::string(datos ? datos : "", static_cast<size_t>(longitud));
}

std::vector<std::string> Leer_Columnas(sqlite3_stmt* sentencia) {
    std::vector<std::string> columnas;
    for (int i = 0; i < sqlite3_column_count(sentencia); ++i)
        columnas.emplace_back(sqlite3_column_name(sentencia, i));
    return columnas;
}

[[noreturn]] void Fallar_En(sqlite3* bd) {
    throw Error_Plataforma(sqlite3_errcode(bd), sqlite3_errmsg(bd));
}

Sentencia Preparar(sqlite3* bd, const std::string& sql) {
    sqlite3_stmt* preparada = nullptr;
    if (sqlite3_prepare_v2(bd, sql.data(), static_cast<int>(sql.size()), &preparada, nullptr) !=
        SQLITE_OK)
        Fallar_En(bd);
    return Sentencia(preparada, sqlite3_finalize);
}

}  // namespace

Motor_SQLite::Motor_SQLite(const std::string& archivo) {
    // Never through a link planted at the name of a local database file.
    if (sqlite3_open_v2(archivo.c_str(), &bd_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW,
                        nullptr) != SQLITE_OK) {
        const Error_Plataforma error(sqlite3_errcode(bd_),
                                     std::string(sqlite3_errmsg(bd_)) + ": " + archivo);
        Cerrar();
        throw error;
    }
    sqlite3_busy_timeout(bd_, kEspera_Bloqueo_Ms);
}

Motor_SQLite::~Motor_SQLite() {
    Cerrar();
}

Recordset Motor_SQLite::Ejecutar(const std::string& sql) {
    const Sentencia sentencia = Preparar(bd_, sql);
    sqlite3_stmt* preparada = sentencia.get();
    std::vector<std::vector<Recordset::Valor>> filas;
    int paso;
    while ((paso = sqlite3_step(preparada)) == SQLITE_ROW) {
        auto& fila = filas.emplace_back();
        for (int i = 0; i < sqlite3_column_count(preparada); ++i)
            fila.push_back(Leer_Valor(preparada, i));
    }
    if (paso != SQLITE_DONE)
        Fallar_En(bd_);
    return Recordset(Leer_Columnas(preparada), std::move(filas));
}

void Motor_SQLite::Ejecutar_Con_Parametros(const std::string& sql,
                                           const std::vector<std::string_view>& parametros) {
    const Sentencia sentencia = Preparar(bd_, sql);
    sqlite3_stmt* preparada = sentencia.get();
    if (sqlite3_bind_parameter_count(preparada) != static_cast<int>(parametros.size()))
        throw Error_Plataforma(SQLITE_RANGE,
                               "The statement's parameter marks do not match the values given");
    for (size_t i = 0; i < parametros.size(); ++i)
        if (sqlite3_bind_blob(preparada, static_cast<int>(i + 1),
                              parametros[i].empty() ? "" : parametros[i].data(),
                              static_cast<int>(parametros[i].size()), SQLITE_STATIC) != SQLITE_OK)
            Fallar_En(bd_);
    int paso;
    while ((paso = sqlite3_step(preparada)) == SQLITE_ROW) {
    }
    if (paso != SQLITE_DONE)
        Fallar_En(bd_);
}

void Motor_SQLite::Iniciar_Transaccion() {
    Ejecutar("BEGIN");
}

void Motor_SQLite::Confirmar_Transaccion() {
    Ejecutar("COMMIT");
}

void Motor_SQLite::Deshacer_Transaccion() {
    Ejecutar("ROLLBACK");
}

std::string Motor_SQLite::Escapar(std::string_view valor) const {
    std::string escapado;
    escapado.reserve(valor.size());
    for (const char c : valor) {
        if (c == '\'')
            escapado += '\'';
        escapado += c;
    }
    return escapado;
}

long long Motor_SQLite::Filas_Afectadas() const {
    return bd_ ? sqlite3_changes64(bd_) : 0;
}

void Motor_SQLite::Cerrar() {
    if (bd_)
        sqlite3_close_v2(bd_);
    bd_ = nullptr;
}

}  // namespace facturador

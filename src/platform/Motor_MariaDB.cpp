#include "platform/Motor_MariaDB.h"

#include <errmsg.h>
#include <mysql.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

constexpr const char* kJuego_Caracteres = "utf8mb4";
// Seconds to wait for the server before giving up, so an absent server does not freeze the
// program's only thread.
constexpr unsigned kEspera_Conexion = 5;
// Seconds a statement may wait for the server's answer (or to be sent) before the connection is
// given up. Without them the client library waits forever, and a server that stops answering
// would hold the cycle for good. An honest statement waits at most for a row lock, which the
// server itself ends after innodb_lock_wait_timeout (50 s by default) with its own error; the
// margin keeps that error, not a broken connection. The service's watchdog (WatchdogSec in the
// unit) is longer than one such wait.
constexpr unsigned kEspera_Respuesta = 75;

using Sentencia = std::unique_ptr<MYSQL_STMT, decltype(&mysql_stmt_close)>;
using Resultado = std::unique_ptr<MYSQL_RES, decltype(&mysql_free_result)>;

[[noreturn]] void Fallar_Sentencia(MYSQL_STMT* sentencia) {
    throw Error_Plataforma(mysql_stmt_errno(sentencia), mysql_stmt_error(sentencia));
}

const char* O_Nulo(const std::string& texto) {
    return texto.empty() ? nullptr : texto.c_str();
}

Recordset Leer_Resultado(MYSQL_RES* resultado) {
    const unsigned cantidad = mysql_num_fields(resultado);
    const MYSQL_FIELD* campos = mysql_fetch_fields(resultado);
    std::vector<std::string> columnas;
    for (unsigned i = 0; i < cantidad; ++i)
        columnas.emplace_back(campos[i].name);
    std::vector<std::vector<Recordset::Valor>> filas;
    filas.reserve(mysql_num_rows(resultado));
    while (MYSQL_ROW fila = mysql_fetch_row(resultado)) {
        const unsigned long* longitudes = mysql_fetch_lengths(resultado);
        auto& valores = filas.emplace_back(cantidad);
        for (unsigned i = 0; i < cantidad; ++i)
            if (fila[i])
                valores[i].emplace(fila[i], longitudes[i]);
    }
    return Recordset(std::move(columnas), std::move(filas));
}

}  // namespace

Motor_MariaDB::Motor_MariaDB(const Parametros_Central& parametros) : parametros_(parametros) {
    Conectar();
}

Motor_MariaDB::~Motor_MariaDB() {
    Cerrar();
}

void Motor_MariaDB::Conectar() {
    mysql_ = mysql_init(nullptr);
    if (!mysql_)
        // Not the library's own wording: a copy of that text in the program reads, to package
        // checkers, as a client library bundled into it.
        throw Error_Plataforma(CR_OUT_OF_MEMORY, "The MariaDB client library ran out of memory");
    mysql_optionsv(mysql_, MYSQL_SET_CHARSET_NAME, kJuego_Caracteres);
    mysql_optionsv(mysql_, MYSQL_OPT_CONNECT_TIMEOUT, &kEspera_Conexion);
    mysql_optionsv(mysql_, MYSQL_OPT_READ_TIMEOUT, &kEspera_Respuesta);
    mysql_optionsv(mysql_, MYSQL_OPT_WRITE_TIMEOUT, &kEspera_Respuesta);
    // Without a socket of the credentials file, for "localhost" the client library takes the
    // server's usual socket, or the one MYSQL_UNIX_PORT names.
    if (!mysql_real_connect(mysql_, O_Nulo(parametros_.Servidor), parametros_.Usuario.c_str(),
                            parametros_.Contrasena.c_str(), O_Nulo(parametros_.Base),
                            parametros_.Puerto, O_Nulo(parametros_.Socket), 0) ||
        (En_Modo_Sin_Barras() && !Escapar_Con_Barras())) {
        const Error_Plataforma error(mysql_errno(mysql_), mysql_error(mysql_));
        Cerrar();
        throw error;
    }
}

bool Motor_MariaDB::Escapar_Con_Barras() noexcept {
    static constexpr std::string_view kSin_Modo =
        "SET SESSION sql_mode = TRIM(BOTH ',' FROM REPLACE(CONCAT(',', @@SESSION.sql_mode, ','), "
        "',NO_BACKSLASH_ESCAPES,', ','))";
    return mysql_real_query(mysql_, kSin_Modo.data(), kSin_Modo.size()) == 0;
}

bool Motor_MariaDB::En_Modo_Sin_Barras() const noexcept {
    unsigned estado = 0;
    mariadb_get_infov(mysql_, MARIADB_CONNECTION_SERVER_STATUS, &estado);
    return (estado & SERVER_STATUS_NO_BACKSLASH_ESCAPES) != 0;
}

void Motor_MariaDB::Fallar() const {
    throw Error_Plataforma(mysql_errno(mysql_), mysql_error(mysql_));
}

Recordset Motor_MariaDB::Ejecutar(const std::string& sql) {
    if (mysql_real_query(mysql_, sql.data(), sql.size()))
        Fallar();
    Resultado resultado(mysql_store_result(mysql_), mysql_free_result);
    if (!resultado) {
        if (mysql_field_count(mysql_) != 0)
            Fallar();
        return Recordset();
    }
    return Leer_Resultado(resultado.get());
}

void Motor_MariaDB::Ejecutar_Con_Parametros(const std::string& sql,
                                            const std::vector<std::string_view>& parametros) {
    Sentencia sentencia(mysql_stmt_init(mysql_), mysql_stmt_close);
    if (!sentencia)
        Fallar();
    if (mysql_stmt_prepare(sentencia.get(), sql.data(), sql.size()))
        Fallar_Sentencia(sentencia.get());
    if (mysql_stmt_param_count(sentencia.get()) != parametros.size())
        throw Error_Plataforma(CR_PARAMS_NOT_BOUND,
                               "The statement's parameter marks do not match the values given");
    std::vector<MYSQL_BIND> enlaces(parametros.size());
    std::vector<unsigned long> longitudes(parametros.size());
    for (size_t i = 0; i < parametros.size(); ++i) {
        longitudes[i] = parametros[i].size();
        enlaces[i].buffer_type = MYSQL_TYPE_BLOB;
        enlaces[i].buffer = const_cast<char*>(parametros[i].empty() ? "" : parametros[i].data());
        enlaces[i].buffer_length = longitudes[i];
        enlaces[i].length = &longitudes[i];
    }
    if (mysql_stmt_bind_param(sentencia.get(), enlaces.data()) ||
        mysql_stmt_execute(sentencia.get()))
        Fallar_Sentencia(sentencia.get());
}

void Motor_MariaDB::Iniciar_Transaccion() {
    Ejecutar("START TRANSACTION");
}

void Motor_MariaDB::Confirmar_Transaccion() {
    if (mysql_commit(mysql_))
        Fallar();
}

void Motor_MariaDB::Deshacer_Transaccion() {
    if (mysql_rollback(mysql_))
        Fallar();
}

std::string Motor_MariaDB::Escapar(std::string_view valor) const {
    std::string escapado(valor.size() * 2 + 1, '\0');
    escapado.resize(mysql_real_escape_string(mysql_, escapado.data(), valor.data(), valor.size()));
    return escapado;
}

void Motor_MariaDB::Cerrar() {
    if (mysql_)
        mysql_close(mysql_);
    mysql_ = nullptr;
}

long long Motor_MariaDB::Filas_Afectadas() const {
    const my_ulonglong filas = mysql_affected_rows(mysql_);
    return filas == static_cast<my_ulonglong>(-1) ? 0 : static_cast<long long>(filas);
}

bool Motor_MariaDB::Responde() noexcept {
    return mysql_ && mysql_ping(mysql_) == 0;
}

bool Motor_MariaDB::Reiniciar_Sesion() noexcept {
    // The server's answer to a reset still carries the old session's status, so the mode of the
    // new session cannot be read from it: it is left whatever it is.
    if (!mysql_ || mysql_reset_connection(mysql_) != 0 || !Escapar_Con_Barras())
        return false;
    // The server keeps the character set of the handshake, but the client library may still
    // remember another one from a SET NAMES of the previous user; its escaping follows it.
    if (std::strcmp(mysql_character_set_name(mysql_), kJuego_Caracteres) == 0)
        return true;
    return mysql_set_character_set(mysql_, kJuego_Caracteres) == 0;
}

bool Motor_MariaDB::Deshacer_Pendiente() noexcept {
    if (!mysql_)
        return false;
    unsigned estado = 0;
    mariadb_get_infov(mysql_, MARIADB_CONNECTION_SERVER_STATUS, &estado);
    const bool pendiente =
        (estado & SERVER_STATUS_IN_TRANS) || !(estado & SERVER_STATUS_AUTOCOMMIT);
    return !pendiente || mysql_rollback(mysql_) == 0;
}

std::string Describir_Destino(const Parametros_Central& p) {
    // The client library's own rules: "localhost" (or no server) is its Unix socket.
    const auto variable = [](const char* nombre, const std::string& si_no) {
        const char* valor = std::getenv(nombre);
        return valor && *valor ? std::string(valor) : si_no;
    };
    const std::string servidor = p.Servidor.empty() ? "localhost" : p.Servidor;
    const std::string via =
        servidor == "localhost"
            ? "socket " +
                  (p.Socket.empty() ? variable("MYSQL_UNIX_PORT", MARIADB_UNIX_ADDR) : p.Socket)
            : "puerto " + (p.Puerto ? std::to_string(p.Puerto)
                                    : variable("MYSQL_TCP_PORT", std::to_string(MARIADB_PORT)));
    return "servidor " + servidor + ", " + via + ", usuario " + p.Usuario;
}

std::string Escapar_MariaDB(std::string_view valor) {
    std::string escapado;
    escapado.reserve(valor.size());
    for (const char c : valor) {
        char sustituto = 0;
        switch (c) {
            case '\0':
                sustituto = '0';
                break;
            case '\n':
                sustituto = 'n';
                break;
            case '\r':
                sustituto = 'r';
                break;
            case '\032':
                sustituto = 'Z';
                break;
            case '\\':
            case '\'':
            case '"':
                sustituto = c;
                break;
            default:
                break;
        }
        if (sustituto) {
            escapado += '\\';
            escapado += sustituto;
        } else {
            escapado += c;
        }
    }
    return escapado;
}

}  // namespace facturador

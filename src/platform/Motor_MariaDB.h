#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Cadena_Conexion.h"
#include "platform/Conexion.h"

struct st_mysql;

namespace facturador {

// One physical connection to the central MariaDB server through Connector/C, always in utf8mb4.
// Statements run with client-side record sets; values come back as text, Null as no value.
class Motor_MariaDB : public Motor_Conexion {
  public:
    // Connects at once; a refused or absent server is an Error_Plataforma within a few seconds.
    explicit Motor_MariaDB(const Parametros_Central& parametros);
    ~Motor_MariaDB() override;
    Motor_MariaDB(const Motor_MariaDB&) = delete;
    Motor_MariaDB& operator=(const Motor_MariaDB&) = delete;

    Recordset Ejecutar(const std::string& sql) override;
    void Ejecutar_Con_Parametros(const std::string& sql,
                                 const std::vector<std::string_view>& parametros) override;
    void Iniciar_Transaccion() override;
    void Confirmar_Transaccion() override;
    void Deshacer_Transaccion() override;
    std::string Escapar(std::string_view valor) const override;
    void Cerrar() override;
    long long Filas_Afectadas() const override;

    const Parametros_Central& Parametros() const { return parametros_; }
    // Brings the session back to the state of a new connection (no transaction, no user
    // variables, server defaults, utf8mb4). False when the connection no longer works.
    bool Reiniciar_Sesion() noexcept;
    // True while the server still answers on this very session (no reconnection is ever made, so
    // what the session holds, its locks included, is still held).
    bool Responde() noexcept;
    // Rolls back a transaction left open (or autocommit left off). False when that fails.
    bool Deshacer_Pendiente() noexcept;

  private:
    [[noreturn]] void Fallar() const;
    void Conectar();
    // The program's statements carry values escaped with backslashes (Escapar_MariaDB), which a
    // session in the server's NO_BACKSLASH_ESCAPES mode reads as plain characters: a quote in a
    // stamped value would end its text and the rest would run as SQL. Whatever mode the server
    // gives new sessions, this one leaves that mode. False when the server refuses.
    bool Escapar_Con_Barras() noexcept;
    // The session is in that mode, as the server's last answer says.
    bool En_Modo_Sin_Barras() const noexcept;

    Parametros_Central parametros_;
    st_mysql* mysql_ = nullptr;
};

// Where a connection with these parameters goes, as an administrator looks for it: "servidor
// localhost, socket /run/mysqld/mysqld.sock, usuario usuarios" (the socket MYSQL_UNIX_PORT names,
// or the client library's own), or "servidor <host>, puerto <n>, usuario <u>" over TCP.
std::string Describir_Destino(const Parametros_Central& parametros);

// Escaping as mysql_real_escape_string does it on a utf8mb4 connection outside the
// NO_BACKSLASH_ESCAPES mode, the only mode the program's sessions run in: a backslash before NUL,
// newline, carriage return, backslash, single and double quote and Ctrl-Z; every other byte,
// including those of multi-byte characters, stays as it is.
std::string Escapar_MariaDB(std::string_view valor);

}  // namespace facturador

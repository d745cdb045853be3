#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Recordset.h"

namespace facturador {

// The engine behind one open connection: the central MariaDB server or a local SQLite file.
class Motor_Conexion {
  public:
    virtual ~Motor_Conexion() = default;
    virtual Recordset Ejecutar(const std::string& sql) = 0;
    // Runs a statement whose '?' marks take the given values as bound binary parameters, so that
    // document contents never travel inside SQL text.
    virtual void Ejecutar_Con_Parametros(const std::string& sql,
                                         const std::vector<std::string_view>& parametros) = 0;
    virtual void Iniciar_Transaccion() = 0;
    virtual void Confirmar_Transaccion() = 0;
    virtual void Deshacer_Transaccion() = 0;
    virtual std::string Escapar(std::string_view valor) const = 0;
    virtual void Cerrar() = 0;
    // Rows that the last statement run on this connection changed.
    virtual long long Filas_Afectadas() const = 0;
};

// A database connection opened from a connection string, as the program has always built them:
// "Provider=MSDASQL.1;...Extended Properties="DRIVER=...;DATABASE=...;SERVER=...;UID=...;
// PASSWORD=...;PORT=...;..." for the central database (served by MariaDB Connector/C through a
// pool of physical connections) and "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=... ;..." for
// the two local database files (served by SQLite). Every failure is an Error_Plataforma.
class Conexion {
  public:
    Conexion();
    ~Conexion();
    Conexion(Conexion&&) noexcept;
    Conexion& operator=(Conexion&&) noexcept;

    void Abrir(const std::string& cadena_conexion);
    // Opens a central connection of its own, outside the pool, which closing closes: for a thread
    // other than the program's (the pool takes no locks).
    void Abrir_Propia(const std::string& cadena_central);
    // State: true while open (the state 1 of the old data-access layer).
    bool Abierta() const;
    Recordset Ejecutar(const std::string& sql);
    void Ejecutar_Con_Parametros(const std::string& sql,
                                 const std::vector<std::string_view>& parametros);
    void Iniciar_Transaccion();
    void Confirmar_Transaccion();
    void Deshacer_Transaccion();
    // Rows that the last statement changed (an UPDATE whose WHERE found nothing: 0).
    long long Filas_Afectadas() const;
    // Closes the connection; a pooled central connection goes back to its pool. Never throws.
    void Cerrar() noexcept;

    // The value made safe to stand between single quotes in this connection's SQL: for ordinary
    // values it is the value itself, so statements keep their exact text.
    std::string Escapar(std::string_view valor) const;

  private:
    Motor_Conexion& Motor() const;

    std::unique_ptr<Motor_Conexion> motor_;
    bool central_ = true;
    bool propia_ = false;  // a central connection outside the pool
};

// Escaping for statements of the central database built before a connection exists (the
// statement queue): the same result as an open central connection's Escapar.
std::string Escapar_Central(std::string_view valor);

}  // namespace facturador

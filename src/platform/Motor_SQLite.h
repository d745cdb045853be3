#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Conexion.h"

struct sqlite3;

namespace facturador {

// One of the program's local database files, opened with SQLite. The file must exist: opening
// never creates it.
class Motor_SQLite : public Motor_Conexion {
  public:
    explicit Motor_SQLite(const std::string& archivo);
    ~Motor_SQLite() override;
    Motor_SQLite(const Motor_SQLite&) = delete;
    Motor_SQLite& operator=(const Motor_SQLite&) = delete;

    Recordset Ejecutar(const std::string& sql) override;
    void Ejecutar_Con_Parametros(const std::string& sql,
                                 const std::vector<std::string_view>& parametros) override;
    void Iniciar_Transaccion() override;
    void Confirmar_Transaccion() override;
    void Deshacer_Transaccion() override;
    // Doubles every single quote.
    std::string Escapar(std::string_view valor) const override;
    void Cerrar() override;
    long long Filas_Afectadas() const override;

  private:
    sqlite3* bd_ = nullptr;
};

}  // namespace facturador

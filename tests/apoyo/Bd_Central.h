#pragma once

#include <string>

#include "platform/Recordset.h"

namespace facturador::pruebas {

// The per-operation central connection string the program builds.
std::string Cadena_Central_Pruebas();
// Empties every central table, so each test starts from a known database.
void Vaciar_Base_Central();
void Ejecutar_Central(const std::string& sql);
Recordset Consultar_Central(const std::string& sql);
// The first field of the first row as text ("" for Null or no row).
std::string Valor_Central(const std::string& sql);
// Stops and starts the private test server, keeping its data (connections die).
void Reiniciar_Servidor_Central();

// For as long as it lives, the central connections go with an account of the tests' own that has
// a password of its own and the built-in account's rights, as an installation that gave its
// account a password in /etc/facturador/central.conf; the built-in account comes back after it.
class Cuenta_Propia {
  public:
    Cuenta_Propia();
    ~Cuenta_Propia();
    Cuenta_Propia(const Cuenta_Propia&) = delete;
    Cuenta_Propia& operator=(const Cuenta_Propia&) = delete;
};

// Stops the test server, as its administrator would, until Reparar() or the end of the test.
class Servidor_Detenido {
  public:
    Servidor_Detenido();
    ~Servidor_Detenido();
    Servidor_Detenido(const Servidor_Detenido&) = delete;
    Servidor_Detenido& operator=(const Servidor_Detenido&) = delete;
    void Reparar();

  private:
    bool detenido_ = true;
};

}  // namespace facturador::pruebas

#pragma once

#include <string>

#include "data/Conexiones.h"
#include "platform/Conexion.h"
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
// One column, or an expression over the columns, of request `id`, as text.
std::string Solicitud(int id, const std::string& columna);
// The Status of every request in order of ID, separated by `separador`.
std::string Estados_Solicitudes(const std::string& separador = ",");
// "ID:Status:Resultado" of every request in order of ID, comma-separated; a request whose
// Resultado is Null is left out, so an emptied result must be empty text.
std::string Estados_y_Resultados();
// Runs the statement as the server's administrator (the account running the tests, through the
// socket) and answers the first field of its first row, like Valor_Central.
std::string Como_Administrador(const std::string& sql);
// A central connection opened as the program opens its own (back to the pool when it goes).
struct Conexion_Abierta : Conexion {
    Conexion_Abierta() { Abrir_Conexion_Central(*this); }
};
// Runs `accion` on such a connection and answers what `accion` answers.
template <typename Accion>
auto En_Central(Accion&& accion) {
    Conexion_Abierta conexion;
    return accion(conexion);
}
// Stops and starts the private test server, keeping its data (connections die).
void Reiniciar_Servidor_Central();

// From now on central connections use an account of the tests' own, own password, the built-in
// account's rights, as the README's step 2 leaves (Credenciales_Vigentes() = {} undoes it).
void Usar_Cuenta_Propia();

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

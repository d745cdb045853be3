#include "Bd_Central.h"

#include <cstdlib>
#include <stdexcept>
#include <utility>

#include <pwd.h>
#include <unistd.h>

#include "platform/Conexion.h"
#include "platform/Credenciales_Central.h"

namespace facturador::pruebas {

std::string Cadena_Central_Pruebas() {
    return "Provider=MSDASQL.1;Password=;Persist Security Info=True;User ID=;Extended "
           "Properties=\"DRIVER={MySQL ODBC 3.51 Driver};DESC=;DATABASE=Morvane_Central;"
           "SERVER=localhost;UID=usuarios;PASSWORD=m58kbwTavRz07;PORT=;OPTION=16387;STMT=;\"";
}

void Vaciar_Base_Central() {
    Conexion c;
    c.Abrir(Cadena_Central_Pruebas());
    for (const char* tabla :
         {"Solicitudes_de_Facturas_OL", "Tickets", "Facturas_Electronicas", "Comprobantes_Fiscales",
          "Montos_Facturados", "Configuracion_Facturas_Electronicas", "Sucursales", "Configuracion",
          "Zonas_Horarias_Sucursales", "Turno_Facturador", "Pedidos_Reencolado",
          "Indice_Solicitudes"})
        c.Ejecutar(std::string("DELETE FROM ") + tabla);
    c.Cerrar();
}

void Ejecutar_Central(const std::string& sql) {
    Consultar_Central(sql);
}

Recordset Consultar_Central(const std::string& sql) {
    Conexion c;
    c.Abrir(Cadena_Central_Pruebas());
    Recordset rs = c.Ejecutar(sql);
    c.Cerrar();
    return rs;
}

std::string Valor_Central(const std::string& sql) {
    Recordset rs = Consultar_Central(sql);
    if (rs.Fin())
        return "";
    return rs.Texto(size_t{0});
}

std::string Solicitud(int id, const std::string& columna) {
    return Valor_Central("SELECT " + columna +
                         " FROM Solicitudes_de_Facturas_OL WHERE ID = " + std::to_string(id));
}

std::string Estados_Solicitudes(const std::string& separador) {
    return Valor_Central("SELECT GROUP_CONCAT(Status ORDER BY ID SEPARATOR '" + separador +
                         "') FROM Solicitudes_de_Facturas_OL");
}

std::string Estados_y_Resultados() {
    return Valor_Central(
        "SELECT GROUP_CONCAT(ID, ':', Status, ':', Resultado ORDER BY ID) FROM "
        "Solicitudes_de_Facturas_OL");
}

std::string Como_Administrador(const std::string& sql) {
    struct Restaurar {  // the tests' credentials back, also when the statement throws
        const Credenciales_Central antes = Credenciales_Vigentes();
        ~Restaurar() { Credenciales_Vigentes() = antes; }
    } restaurar;
    Credenciales_Vigentes() = {getpwuid(geteuid())->pw_name, "", restaurar.antes.Socket};
    return Valor_Central(sql);
}

void Usar_Cuenta_Propia() {
    Como_Administrador(
        "CREATE USER IF NOT EXISTS 'usuarios_propia'@'localhost' IDENTIFIED BY "
        "'Propia de la instalación 1'");
    Como_Administrador(
        "GRANT SELECT, INSERT, UPDATE, DELETE, CREATE ON Morvane_Central.* TO "
        "'usuarios_propia'@'localhost'");
    Credenciales_Vigentes() = {"usuarios_propia", "Propia de la instalación 1", std::nullopt};
}

namespace {
void Ordenar_Servidor(const std::string& orden) {
    const std::string linea = std::string(SCRIPT_BD_PRIVADA) + " " + orden + " " +
                              CARPETA_BD_PRUEBAS + " >/dev/null 2>&1";
    if (std::system(linea.c_str()) != 0)
        throw std::runtime_error("the test server did not " + orden);
}
}  // namespace

void Reiniciar_Servidor_Central() {
    Ordenar_Servidor("reiniciar");
}

Servidor_Detenido::Servidor_Detenido() {
    Ordenar_Servidor("detener");
}

Servidor_Detenido::~Servidor_Detenido() {
    try {
        Reparar();
    } catch (const std::exception&) {
        // The tests that follow find no server and say so.
    }
}

void Servidor_Detenido::Reparar() {
    if (std::exchange(detenido_, false))
        Ordenar_Servidor("reiniciar");
}

}  // namespace facturador::pruebas

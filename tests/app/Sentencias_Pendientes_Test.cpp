#include "app/Sentencias_Pendientes.h"

#include "Apoyo_App.h"
#include "platform/Conexion.h"

namespace facturador::pruebas {
namespace {

using Sentencias_Pendientes_Test = Prueba_Ciclo;

std::string Insertar_Sucursal(int id, const std::string& nombre) {
    return "INSERT INTO Sucursales (ID, Nombre) VALUES (" + std::to_string(id) + ", '" +
           Escapar_Central(nombre) + "')";
}

void Encolar(const std::vector<std::string>& sentencias) {
    Reiniciar_Sentencias_Pendientes();
    for (const std::string& s : sentencias)
        Agregar_Sentencia_Pendiente(s);
}

TEST_F(Sentencias_Pendientes_Test, Un_Lote_Va_Entero_O_Nada_Y_El_Log_Nombra_La_Sentencia_Fallida) {
    const auto commits = [] {
        return std::stol(Consultar_Central("SHOW GLOBAL STATUS LIKE 'Com_commit'").Texto(1));
    };
    const long antes = commits();
    Ejecutar_Sentencias_Pendientes();
    EXPECT_GE(commits() - antes, 1) << "an empty queue commits";

    Encolar(
        {"", Insertar_Sucursal(1, "Centro"), "", Insertar_Sucursal(2, "Plaza O'Higgins \\ Sur")});
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Valor_Central("SELECT Nombre FROM Sucursales WHERE ID = 2"),
              "Plaza O'Higgins \\ Sur");
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Sucursales"), "2");
    EXPECT_EQ(Leer_Log(), "");

    // The third of five fails: none of the five remains.
    const std::string tercera = Insertar_Sucursal(1, "Repetida");
    Encolar({Insertar_Sucursal(3, "Norte"), Insertar_Sucursal(4, "Sur"), tercera,
             Insertar_Sucursal(5, "Este"), Insertar_Sucursal(6, "Oeste")});
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Sucursales"), "2");
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, " -  Error:  Duplicate entry"), 1) << log;
    EXPECT_EQ(Veces(log, "  -  " + tercera + "\r\n"), 1) << log;
}

}  // namespace
}  // namespace facturador::pruebas

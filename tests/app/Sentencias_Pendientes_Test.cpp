#include "app/Sentencias_Pendientes.h"

#include "Apoyo_App.h"
#include "platform/Conexion.h"

namespace facturador::pruebas {
namespace {

using Sentencias_Pendientes_Test = Prueba_App;

std::string Insertar_Sucursal(int id, const std::string& nombre) {
    return "INSERT INTO Sucursales (ID, Nombre) VALUES (" + std::to_string(id) + ", '" +
           Escapar_Central(nombre) + "')";
}

long Commits_Del_Servidor() {
    return std::stol(Consultar_Central("SHOW GLOBAL STATUS LIKE 'Com_commit'").Texto(size_t{1}));
}

TEST_F(Sentencias_Pendientes_Test, Una_Falla_Deshace_Todo_El_Lote_Y_El_Log_Nombra_La_Sentencia) {
    const std::string tercera = Insertar_Sucursal(1, "Repetida");
    for (const std::string& s :
         {Insertar_Sucursal(1, "Centro"), Insertar_Sucursal(2, "Norte"), tercera,
          Insertar_Sucursal(4, "Sur"), Insertar_Sucursal(5, "Este")})
        Agregar_Sentencia_Pendiente(s);

    Ejecutar_Sentencias_Pendientes();

    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Sucursales"), "0");
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, " -  Error:  Duplicate entry"), 1) << log;
    EXPECT_EQ(Veces(log, "  -  " + tercera + "\r\n"), 1) << log;
    EXPECT_EQ(Sentencias_Pendientes().size(), 5u);
}

TEST_F(Sentencias_Pendientes_Test, Los_Textos_Vacios_Se_Saltan_Y_Una_Cola_Vacia_Confirma) {
    const long commits = Commits_Del_Servidor();
    Ejecutar_Sentencias_Pendientes();
    EXPECT_GE(Commits_Del_Servidor() - commits, 1);

    for (const std::string& s : {std::string(), Insertar_Sucursal(1, "Centro"), std::string(),
                                 Insertar_Sucursal(2, "Plaza O'Higgins \\ Sur")})
        Agregar_Sentencia_Pendiente(s);
    Ejecutar_Sentencias_Pendientes();

    EXPECT_EQ(Valor_Central("SELECT Nombre FROM Sucursales WHERE ID = 2"),
              "Plaza O'Higgins \\ Sur");
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Sucursales"), "2");
    EXPECT_EQ(Leer_Log(), "");
}

}  // namespace
}  // namespace facturador::pruebas

#include "data/Sentencias_Pendientes.h"

#include "Apoyo_App.h"
#include "platform/Conexion.h"

namespace facturador::pruebas {
namespace {

// The batch of the working copy, which holds the lease.
class Sentencias_Pendientes_Test : public Prueba_Ciclo {
  protected:
    Sentencias_Pendientes_Test() {
        EXPECT_EQ(Turno_Programa().Asegurar(), Turno_Central::Estado::Tenido);
    }
};

std::string Insertar_Sucursal(int id, const std::string& nombre) {
    return "INSERT INTO Sucursales (ID, Nombre) VALUES (" + std::to_string(id) + ", '" +
           Escapar_Central(nombre) + "')";
}

long Commits() {
    return std::stol(Consultar_Central("SHOW GLOBAL STATUS LIKE 'Com_commit'").Texto(1));
}

void Encolar(const std::vector<std::string>& sentencias) {
    Reiniciar_Sentencias_Pendientes();
    for (const std::string& s : sentencias)
        Agregar_Sentencia_Pendiente(s);
}

TEST_F(Sentencias_Pendientes_Test, Un_Lote_Va_Entero_O_Nada_Y_El_Log_Nombra_La_Sentencia_Fallida) {
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
    EXPECT_TRUE(Una_Vez(log, " -  Error:  Duplicate entry"));
    EXPECT_TRUE(Una_Vez(log, "  -  " + tercera + "\r\n"));
}

// With nothing failing the queue is one transaction, its log lines in order; a failing statement
// keeps back only its own request, whose failure is logged and handed over; the rest are done.
TEST_F(Sentencias_Pendientes_Test, Una_Solicitud_Fallida_No_Detiene_A_Las_Demas) {
    std::vector<std::string> fallas;
    const std::string demasiado_largo =
        "UPDATE Sucursales SET Nombre = REPEAT('x', 101) WHERE ID = ";
    const auto encolar = [&](int primera, bool con_falla) {
        Reiniciar_Sentencias_Pendientes();
        for (int id = primera; id < primera + 3; ++id) {
            const std::string n = std::to_string(id);
            Agregar_Sentencia_de_Solicitud(id, Insertar_Sucursal(id, "S" + n), "hecha " + n);
            Al_Fallar_Solicitud(
                id, [&fallas, n](const std::string& f) { fallas.push_back(n + ": " + f); });
            Agregar_Sentencia_Pendiente(Insertar_Sucursal(100 + id, "Sin solicitud"));
            const bool mala = con_falla && id != primera;
            Agregar_Sentencia_de_Solicitud(id, mala ? demasiado_largo + n : "");
        }
    };
    encolar(1, false);
    const long antes = Commits();
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Commits() - antes, 1);
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Sucursales"), "6");

    encolar(11, true);
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(
        Valor_Central(
            "SELECT GROUP_CONCAT(ID ORDER BY ID) FROM Sucursales WHERE ID BETWEEN 11 AND 13 OR "
            "ID > 110"),
        "11,111,112,113");
    const std::string log = Leer_Log();
    EXPECT_LT(log.find("hecha 1\r\n"), log.find("hecha 3\r\n"));
    EXPECT_EQ(Veces(log, "hecha 11") + Veces(log, "hecha 12") + Veces(log, "hecha 13"), 1);
    for (const char* id : {"12", "13"})
        EXPECT_TRUE(Una_Vez(log, "Error:  Data too long for column 'Nombre' at row 1  -  " +
                                     demasiado_largo + id + "\r\n"));
    ASSERT_EQ(fallas.size(), 2u);
    EXPECT_TRUE(Empieza(fallas[0], "12: Data too long for column 'Nombre' at row 1  -  UPDATE"));
}

// A batch of a copy that lost the lease commits nothing and is no failure; a request whose
// statements meet a conflict waits for the next cycle while the others go, and fails no cycle.
TEST_F(Sentencias_Pendientes_Test, Sin_Turno_Nada_Y_Un_Conflicto_Solo_Retrasa_Su_Solicitud) {
    Reiniciar_Sentencias_Pendientes();
    Agregar_Sentencia_de_Solicitud(1, Insertar_Sucursal(1, "Centro"), "hecha 1");
    Agregar_Sentencia_de_Solicitud(2, "INSERT INTO Configuracion (ID) VALUES (2)", "hecha 2");
    Agregar_Sentencia_de_Solicitud(3, Insertar_Sucursal(3, "Sur"), "hecha 3");
    Ejecutar_Central("UPDATE Turno_Facturador SET Epoca = Epoca + 1");  // another copy took it
    Ejecutar_Sentencias_Pendientes();
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Sucursales"), "0");
    EXPECT_FALSE(Turno_Programa().Tenido());

    ASSERT_EQ(Turno_Programa().Asegurar(), Turno_Central::Estado::Tenido);
    {
        const Conflicto_Temporal conflicto("Configuracion", "INSERT");
        Ejecutar_Sentencias_Pendientes();
    }
    EXPECT_EQ(Valor_Central("SELECT GROUP_CONCAT(ID ORDER BY ID) FROM Sucursales"), "1,3");
    EXPECT_EQ(Valor_Central("SELECT COUNT(*) FROM Configuracion"), "0");
    const std::string log = Leer_Log();
    EXPECT_TRUE(Una_Vez(log,
                        "Conflicto:  Deadlock found when trying to get lock  -  INSERT INTO "
                        "Configuracion"));
    EXPECT_EQ(Veces(log, "hecha 2") + Veces(log, "Error:"), 0);
    EXPECT_FALSE(Fallas_Programa().Falla_En_Ciclo());
}

}  // namespace
}  // namespace facturador::pruebas

#include <gtest/gtest.h>

#include <random>

#include "apoyo/Bd_Central.h"
#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"

namespace facturador {
namespace {

using namespace std::string_literals;

class Conexion_Central : public ::testing::Test {
  protected:
    void SetUp() override {
        pruebas::Vaciar_Base_Central();
        c.Abrir(pruebas::Cadena_Central_Pruebas());
    }

    Conexion c;
};

TEST_F(Conexion_Central, Null_Vacio_Y_Un_Valor_Escapado_Se_Leen_Tal_Como_Se_Escribieron) {
    const std::string valor = "O'Brien \"el\" C:\\ruta\\ ñ€\n\r\x1A fin\0z"s;
    c.Ejecutar("INSERT INTO Sucursales (ID, Nombre) VALUES (1, NULL), (2, ''), (3, '" +
               c.Escapar(valor) + "')");
    Recordset rs = c.Ejecutar("SELECT ID, Nombre FROM Sucursales ORDER BY ID");
    EXPECT_EQ(rs.Campo("nombre"), std::nullopt);
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Campo("NOMBRE"), std::optional<std::string>(""));
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Campo("Nombre"), valor);

    // An ordinary value leaves the statement exactly as plain concatenation would.
    const std::string ordinario = "Sucursal Ñuñoa #3, (Centro) 50% - A/B";
    EXPECT_EQ(c.Escapar(ordinario), ordinario);
    EXPECT_EQ(Escapar_Central(ordinario), ordinario);

    // The escaping without a connection is the server's own.
    std::mt19937 azar(20240731);
    const std::string especiales = "\0\n\r\\'\"\x1A"s;
    for (int vuelta = 0; vuelta < 2000; ++vuelta) {
        std::string v;
        for (int i = 0; i < 12; ++i) {
            const int b = static_cast<int>(azar() % 256);
            v += b < 64 ? especiales[b % especiales.size()] : static_cast<char>(b);
        }
        ASSERT_EQ(Escapar_Central(v), c.Escapar(v)) << ::testing::PrintToString(v);
    }
}

TEST_F(Conexion_Central, Los_Errores_Llevan_Numero_Y_Texto_Del_Servidor) {
    try {
        c.Ejecutar("SELECT * FROM Tabla_Que_No_Existe");
        ADD_FAILURE() << "no error";
    } catch (const Error_Plataforma& e) {
        EXPECT_EQ(e.Numero, 1146);
        EXPECT_NE(e.Descripcion.find("Tabla_Que_No_Existe"), std::string::npos) << e.Descripcion;
    }
    EXPECT_EQ(c.Ejecutar("SELECT 1").Texto(size_t{0}), "1") << "still usable after a failure";
}

TEST_F(Conexion_Central, Los_256_Bytes_Viajan_Intactos_Como_Parametro) {
    std::string documento;
    for (int b = 0; b < 512; ++b)
        documento += static_cast<char>(b % 256);
    c.Ejecutar_Con_Parametros(
        "INSERT INTO Comprobantes_Fiscales (ID, ID_Factura, Titulo, Documento) VALUES (-1, -7, ?, "
        "?)",
        {"Documento PDF  A1", documento});
    Recordset rs = c.Ejecutar("SELECT Titulo, Documento FROM Comprobantes_Fiscales");
    EXPECT_EQ(rs.Texto("Titulo"), "Documento PDF  A1");
    EXPECT_TRUE(rs.Texto("Documento") == documento);
    EXPECT_THROW(c.Ejecutar_Con_Parametros("UPDATE Comprobantes_Fiscales SET Documento = ?", {}),
                 Error_Plataforma);
}

}  // namespace
}  // namespace facturador

#include <gtest/gtest.h>

#include <random>

#include "apoyo/Bd_Central.h"
#include "platform/Conexion.h"
#include "platform/Error_Plataforma.h"

namespace facturador {
namespace {

using pruebas::Cadena_Central_Pruebas;
using namespace std::string_literals;

class Conexion_Central : public ::testing::Test {
  protected:
    void SetUp() override {
        pruebas::Vaciar_Base_Central();
        c.Abrir(Cadena_Central_Pruebas());
    }

    Conexion c;
};

TEST_F(Conexion_Central, Lee_Null_Y_Texto_Vacio_Por_Separado) {
    c.Ejecutar("INSERT INTO Sucursales (ID, Nombre) VALUES (1, NULL), (2, '')");
    Recordset rs = c.Ejecutar("SELECT ID, Nombre FROM Sucursales ORDER BY ID");
    ASSERT_FALSE(rs.Fin());
    EXPECT_EQ(rs.Campo("nombre"), std::nullopt);
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Campo("NOMBRE"), std::optional<std::string>(""));
    EXPECT_EQ(rs.Texto(size_t{0}), "2");
    rs.Mover_Siguiente();
    EXPECT_TRUE(rs.Fin());
}

TEST_F(Conexion_Central, Un_Valor_Escapado_Se_Lee_Tal_Como_Se_Escribio) {
    const std::string valor = "O'Brien \"el\" C:\\ruta\\ ñ€\n\r\x1A fin\0z"s;
    EXPECT_EQ(c.Escapar(valor), Escapar_Central(valor));
    c.Ejecutar("INSERT INTO Sucursales (ID, Nombre) VALUES (1, '" + c.Escapar(valor) + "')");
    EXPECT_EQ(c.Ejecutar("SELECT Nombre FROM Sucursales WHERE ID = 1").Campo("Nombre"), valor);
}

TEST_F(Conexion_Central, Un_Valor_Ordinario_Deja_La_Sentencia_Exacta) {
    const std::string valor = "Sucursal Ñuñoa #3, (Centro) 50% - A/B";
    EXPECT_EQ(c.Escapar(valor), valor);
    EXPECT_EQ(Escapar_Central(valor), valor);
    EXPECT_EQ(Escapar_Central("'\"\\"), "\\'\\\"\\\\");
    EXPECT_EQ(Escapar_Central("\0"s), "\\0");
}

TEST_F(Conexion_Central, Escapar_Central_Escapa_Como_La_Conexion) {
    std::mt19937 azar(20240731);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string especiales = "\0\n\r\\'\"\x1A"s;
    for (int vuelta = 0; vuelta < 2000; ++vuelta) {
        std::string valor;
        for (int i = 0; i < 12; ++i) {
            const int b = byte(azar);
            valor += b < 64 ? especiales[b % especiales.size()] : static_cast<char>(b);
        }
        ASSERT_EQ(Escapar_Central(valor), c.Escapar(valor)) << ::testing::PrintToString(valor);
    }
}

TEST_F(Conexion_Central, Un_Error_Lleva_Numero_Y_Texto_Del_Servidor) {
    try {
        c.Ejecutar("SELECT * FROM Tabla_Que_No_Existe");
        FAIL() << "no error";
    } catch (const Error_Plataforma& e) {
        EXPECT_EQ(e.Numero, 1146);
        EXPECT_NE(e.Descripcion.find("Tabla_Que_No_Existe"), std::string::npos) << e.Descripcion;
    }
    // The connection is still usable after a failed statement.
    EXPECT_EQ(c.Ejecutar("SELECT 1").Texto(size_t{0}), "1");
}

TEST_F(Conexion_Central, Una_Conexion_Rechazada_Queda_Cerrada) {
    Conexion otra;
    const std::string cadena = Cadena_Central_Pruebas();
    std::string mala = cadena;
    mala.replace(mala.find("m58kbwTavRz07"), 13, "otra");
    try {
        otra.Abrir(mala);
        FAIL() << "no error";
    } catch (const Error_Plataforma& e) {
        EXPECT_EQ(e.Numero, 1045) << e.Descripcion;
    }
    EXPECT_FALSE(otra.Abierta());
    EXPECT_THROW(otra.Ejecutar("SELECT 1"), Error_Plataforma);
}

TEST_F(Conexion_Central, Transacciones_Confirmadas_Y_Deshechas) {
    c.Iniciar_Transaccion();
    c.Ejecutar("INSERT INTO Sucursales (ID, Nombre) VALUES (1, 'uno')");
    c.Deshacer_Transaccion();
    c.Iniciar_Transaccion();
    c.Ejecutar("INSERT INTO Sucursales (ID, Nombre) VALUES (2, 'dos')");
    c.Confirmar_Transaccion();
    EXPECT_EQ(pruebas::Valor_Central("SELECT GROUP_CONCAT(ID) FROM Sucursales"), "2");
}

TEST_F(Conexion_Central, Los_256_Bytes_Viajan_Intactos_Como_Parametro) {
    std::string documento;
    for (int vuelta = 0; vuelta < 2; ++vuelta)
        for (int b = 0; b < 256; ++b)
            documento += static_cast<char>(b);
    c.Ejecutar_Con_Parametros(
        "INSERT INTO Comprobantes_Fiscales (ID, ID_Factura, Titulo, Documento) VALUES (-1, -7, ?, "
        "?)",
        {"Documento PDF  A1", documento});
    Recordset rs =
        c.Ejecutar("SELECT Titulo, Documento, LENGTH(Documento) FROM Comprobantes_Fiscales");
    ASSERT_FALSE(rs.Fin());
    EXPECT_EQ(rs.Texto("Titulo"), "Documento PDF  A1");
    EXPECT_EQ(rs.Texto(2), "512");
    EXPECT_TRUE(rs.Texto("Documento") == documento);
}

TEST_F(Conexion_Central, Parametros_Que_No_Corresponden_Son_Un_Error) {
    EXPECT_THROW(c.Ejecutar_Con_Parametros("UPDATE Comprobantes_Fiscales SET Documento = ?", {}),
                 Error_Plataforma);
    EXPECT_THROW(c.Ejecutar_Con_Parametros("UPDATE Sin_Tabla SET Documento = ?", {"x"}),
                 Error_Plataforma);
}

}  // namespace
}  // namespace facturador

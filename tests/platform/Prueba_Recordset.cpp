#include <gtest/gtest.h>

#include <functional>

#include "platform/Error_Plataforma.h"
#include "platform/Recordset.h"

namespace facturador {
namespace {

Recordset Dos_Filas() {
    return Recordset({"ID", "Nombre"}, {{"1", std::nullopt}, {"2", ""}});
}

long Numero_De_Error(const std::function<void()>& accion) {
    try {
        accion();
    } catch (const Error_Plataforma& e) {
        return e.Numero;
    }
    return 0;
}

TEST(Recordset, Distingue_Null_De_Texto_Vacio) {
    Recordset rs = Dos_Filas();
    EXPECT_EQ(rs.Campo("Nombre"), std::nullopt);
    EXPECT_EQ(rs.Texto("Nombre"), "");
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Campo("Nombre"), std::optional<std::string>(""));
}

TEST(Recordset, Busca_Columnas_Sin_Distinguir_Mayusculas) {
    Recordset rs = Dos_Filas();
    EXPECT_EQ(rs.Texto("id"), "1");
    EXPECT_EQ(rs.Texto("NOMBRE"), "");
    EXPECT_TRUE(rs.Tiene_Columna("nOmBrE"));
    EXPECT_FALSE(rs.Tiene_Columna("Nombres"));
    EXPECT_EQ(rs.Texto(size_t{0}), "1");
}

TEST(Recordset, Recorre_Y_Vuelve_Al_Primero) {
    Recordset rs = Dos_Filas();
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Texto("ID"), "2");
    rs.Mover_Siguiente();
    EXPECT_TRUE(rs.Fin());
    rs.Mover_Primero();
    EXPECT_EQ(rs.Texto("ID"), "1");
    EXPECT_TRUE(Recordset({"ID"}, {}).Fin());
    EXPECT_TRUE(Recordset().Fin());
}

TEST(Recordset, Columna_Desconocida_O_Sin_Fila_Actual_Son_Errores) {
    Recordset rs = Dos_Filas();
    EXPECT_EQ(Numero_De_Error([&] { rs.Campo("Otra"); }), 3265);
    EXPECT_EQ(Numero_De_Error([&] { rs.Campo(size_t{2}); }), 3265);
    rs.Mover_Siguiente();
    rs.Mover_Siguiente();
    EXPECT_EQ(Numero_De_Error([&] { rs.Campo("ID"); }), 3021);
    EXPECT_EQ(Numero_De_Error([&] { rs.Mover_Siguiente(); }), 3021);
    EXPECT_EQ(Numero_De_Error([&] { Recordset({"ID"}, {}).Texto(size_t{0}); }), 3021);
    // The unknown name is checked even when there is no row.
    EXPECT_EQ(Numero_De_Error([&] { rs.Campo("Otra"); }), 3265);
}

}  // namespace
}  // namespace facturador

#include <gtest/gtest.h>

#include "platform/Error_Plataforma.h"
#include "platform/Recordset.h"

namespace facturador {
namespace {

TEST(Recordset, Recorre_Sus_Filas_Y_Falla_Fuera_De_Ellas_O_Con_Una_Columna_Desconocida) {
    Recordset rs({"ID", "Nombre"}, {{"1", std::nullopt}, {"2", "Dos"}});
    EXPECT_EQ(rs.Texto("id"), "1");
    EXPECT_EQ(rs.Texto("NOMBRE"), "");  // Null reads as empty text
    EXPECT_TRUE(rs.Tiene_Columna("nOmBrE"));
    EXPECT_FALSE(rs.Tiene_Columna("Nombres"));
    rs.Mover_Siguiente();
    EXPECT_EQ(rs.Texto(size_t{1}), "Dos");
    EXPECT_THROW(rs.Campo("Otra"), Error_Plataforma);
    EXPECT_THROW(rs.Campo(size_t{2}), Error_Plataforma);

    rs.Mover_Siguiente();
    EXPECT_TRUE(rs.Fin());
    EXPECT_THROW(rs.Campo("ID"), Error_Plataforma);
    EXPECT_THROW(rs.Mover_Siguiente(), Error_Plataforma);
    rs.Mover_Primero();
    EXPECT_EQ(rs.Texto("ID"), "1");
    EXPECT_TRUE(Recordset().Fin());
}

}  // namespace
}  // namespace facturador

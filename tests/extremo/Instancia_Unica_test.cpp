#include "platform/Instancia_Unica.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {
namespace {

TEST(Instancia_Unica, Solo_Una_Copia_Tiene_El_Candado_Y_Lo_Suelta_Al_Terminar) {
    Carpeta_Temporal carpeta;
    const std::string candado = Unir_Ruta(carpeta.Ruta(), "facturador.lock");
    {
        const Instancia_Unica primera(candado);
        ASSERT_TRUE(primera.Es_Unica());
        const Instancia_Unica segunda(candado);
        EXPECT_EQ(segunda.Resultado(), Instancia_Unica::Estado::Otra_Copia);
    }
    const Instancia_Unica despues(candado);
    EXPECT_TRUE(despues.Es_Unica());
}

TEST(Instancia_Unica, Un_Enlace_Puesto_En_Lugar_Del_Candado_No_Se_Sigue) {
    Carpeta_Temporal carpeta;
    const std::string destino = Unir_Ruta(carpeta.Ruta(), "ajeno");
    const std::string candado = Unir_Ruta(carpeta.Ruta(), "facturador.lock");
    ASSERT_EQ(symlink(destino.c_str(), candado.c_str()), 0);
    const Instancia_Unica instancia(candado);
    EXPECT_EQ(instancia.Resultado(), Instancia_Unica::Estado::Falla);
    EXPECT_NE(instancia.Falla().find(candado), std::string::npos);
    EXPECT_FALSE(Existe_Archivo(destino));
}

}  // namespace
}  // namespace facturador::pruebas

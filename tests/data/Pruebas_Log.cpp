#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "apoyo/Entorno_Pruebas.h"
#include "data/Log.h"
#include "platform/Archivos.h"

namespace facturador {
namespace {

class Log_Diario : public testing::Test {
  protected:
    std::string Leer(const std::string& nombre) {
        return Leer_Archivo(Unir_Ruta(entorno.Carpeta(), nombre));
    }

    pruebas::Entorno_Pruebas entorno;  // 05/12/2026 10:15:40
};

// Entries of the same minute follow in order; the first one after midnight opens the new day's
// file.
TEST_F(Log_Diario, EntradasExactasEnElArchivoDeSuDia) {
    Escribir_Log("Primera");
    entorno.reloj.Avanzar_Segundos(15);
    Escribir_Log("");
    Escribir_Log("Linea 1\r\nLinea 2");
    EXPECT_EQ(Leer("log_05_12_2026.txt"),
              "Ver. V. 5.3.0 - 10:15 -  Primera\r\n \r\n"
              "Ver. V. 5.3.0 - 10:15 -  \r\n \r\n"
              "Ver. V. 5.3.0 - 10:15 -  Linea 1\r\nLinea 2\r\n \r\n");

    entorno.reloj.Poner({2026, 12, 31, 23, 59, 50});
    Escribir_Log("antes");
    entorno.reloj.Avanzar_Segundos(20);
    Escribir_Log("despues");
    EXPECT_EQ(Leer("log_31_12_2026.txt"), "Ver. V. 5.3.0 - 23:59 -  antes\r\n \r\n");
    EXPECT_EQ(Leer("log_01_01_2027.txt"), "Ver. V. 5.3.0 - 00:00 -  despues\r\n \r\n");
    EXPECT_TRUE(entorno.operador.mostrados.empty());
}

// Standard error here is not a terminal (the test captures it), as under a service manager: each
// entry is one line there too, while the file keeps its exact bytes.
TEST_F(Log_Diario, CadaEntradaEsTambienUnaLineaEnLaSalidaDeErrores) {
    testing::internal::CaptureStderr();
    Escribir_Log("Linea 1\r\nLinea 2");
    Escribir_Aviso("Error: sin operador");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Linea 1  Linea 2\nError: sin operador\n");
    EXPECT_EQ(Leer("log_05_12_2026.txt"),
              "Ver. V. 5.3.0 - 10:15 -  Linea 1\r\nLinea 2\r\n \r\n"
              "Ver. V. 5.3.0 - 10:15 -  Error: sin operador\r\n \r\n");
}

TEST_F(Log_Diario, UnaFallaSeMuestraEnElMensajeEstandarYSePierde) {
    const std::string carpeta = Unir_Ruta(entorno.Carpeta(), "no_existe");
    Entorno_Actual().carpeta_programa = carpeta;
    Escribir_Log("perdido");
    ASSERT_EQ(entorno.operador.mostrados.size(), 1u);
    const auto& mostrado = entorno.operador.mostrados[0];
    EXPECT_EQ(mostrado.tipo + ": " + mostrado.titulo, "estandar: Error al actualizar archivo Log");
    EXPECT_EQ(mostrado.texto, "error: " + std::to_string(ENOENT) + " - " + std::strerror(ENOENT) +
                                  ": " + Unir_Ruta(carpeta, "log_05_12_2026.txt"));
    EXPECT_FALSE(Existe_Carpeta(carpeta));
}

}  // namespace
}  // namespace facturador

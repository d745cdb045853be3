// A failure written through the hourly limiter is told once more when it clears, and only then.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "apoyo/Entorno_Pruebas.h"
#include "apoyo/Siembra.h"
#include "data/Log.h"
#include "data/Registro_Fallas.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"
#include "platform/Operador_Sin_Pantalla.h"

namespace facturador::pruebas {
namespace {

// How many entries of the daily log are exactly this message.
long Entradas(const std::string& mensaje) {
    return Veces(Leer_Log(), " -  " + mensaje + "\r\n");
}

bool Paso(const std::string& paso, long numero = 0) {
    return Ejecutar_Registrando_Falla(paso, [numero] {
        if (numero)
            throw Error_Plataforma(numero, "Falla " + std::to_string(numero));
    });
}

TEST(Fallas_Resueltas, Cada_Falla_Dice_Una_Vez_Cuando_Se_Resuelve) {
    Entorno_Pruebas entorno;  // 10:15:40
    Fallas_Programa() = Registro_Fallas{};
    Registro_Fallas& fallas = Fallas_Programa();
    // The first cycle: two steps fail, a statement of the batch fails.
    Paso("A", 2002);
    Paso("B", 2002);
    fallas.Registrar("Duplicado", "INSERT X");
    fallas.Cerrar_Ciclo();
    // A completes and its failure is over at once; B fails again within the hour.
    entorno.reloj.Avanzar_Segundos(60);
    EXPECT_TRUE(Paso("A"));
    Paso("B", 2002);
    fallas.Cerrar_Ciclo();
    EXPECT_EQ(Entradas("Se resolvió: Error:  Falla 2002  -  A"), 1);
    EXPECT_EQ(Leer_Log().find("Se resolvió: Error:  Falla 2002  -  B"), std::string::npos);
    EXPECT_EQ(Entradas("Error:  Falla 2002  -  B"), 1);
    // B completes, C conflicts: the statement's failure clears, this cycle's conflict does not.
    EXPECT_TRUE(Paso("B"));
    Paso("C", 1213);
    fallas.Cerrar_Ciclo();
    EXPECT_EQ(Entradas("Se resolvió: Error:  Falla 2002  -  B [se repitió 1 vez desde las 10:15]"),
              1);
    EXPECT_EQ(Entradas("Se resolvió: Error:  Duplicado  -  INSERT X"), 1);
    EXPECT_EQ(Leer_Log().find("Se resolvió: Conflicto"), std::string::npos);
    EXPECT_EQ(Entradas(kLinea_Recuperacion), 1);
    // A clean cycle without the conflict ends it; a failure after its end is new.
    fallas.Cerrar_Ciclo();
    EXPECT_EQ(Entradas("Se resolvió: Conflicto:  Falla 1213  -  C"), 1);
    Paso("A", 2002);
    EXPECT_EQ(Entradas("Error:  Falla 2002  -  A"), 2);
    EXPECT_EQ(Entradas(kLinea_Recuperacion), 1);
}

// Without a display the log's own write failure goes to standard error once while it lasts, and
// once more, with its count, by the first entry the log takes again.
TEST(Fallas_Resueltas, El_Log_Que_No_Se_Puede_Escribir_Lo_Dice_Y_Dice_Cuando_Vuelve) {
    Entorno_Pruebas entorno;
    Operador_Sin_Pantalla operador(Escribir_Aviso);
    Entorno_Actual().operador = &operador;
    const std::string carpeta = Unir_Ruta(entorno.Carpeta(), "no_existe");
    Entorno_Actual().carpeta_programa = carpeta;
    testing::internal::CaptureStderr();
    Escribir_Log("perdido");
    Escribir_Log("perdido otra vez");
    std::filesystem::create_directory(carpeta);
    Escribir_Log("escrito");
    const std::string falla = "Error al actualizar archivo Log: error: " + std::to_string(ENOENT) +
                              " - " + std::strerror(ENOENT) + ": " +
                              Unir_Ruta(carpeta, "log_05_12_2026.txt");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "perdido\n" + falla + "\nperdido otra vez\nescrito\nSe resolvió: " + falla +
                  " [se repitió 1 vez desde las 10:15]\n");
    EXPECT_TRUE(Una_Vez(Leer_Archivo(Unir_Ruta(carpeta, "log_05_12_2026.txt")), "Se resolvió: "));
}

}  // namespace
}  // namespace facturador::pruebas

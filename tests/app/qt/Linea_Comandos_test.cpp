#include "app/qt/Linea_Comandos.h"

#include <gtest/gtest.h>

#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"

namespace facturador::pruebas {
namespace {

Linea_Comandos Leer(QStringList argumentos) {
    argumentos.prepend(QStringLiteral("facturador"));
    return Leer_Linea_Comandos(argumentos);
}

TEST(Linea_Comandos, Lee_Cada_Orden_Y_Rechaza_Lo_Que_No_Se_Puede_Usar) {
    Carpeta_Temporal carpeta;
    const QString ruta = QString::fromStdString(carpeta.Ruta());
    Linea_Comandos linea = Leer({"--sin-ventanas", "--carpeta", ruta + "/"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Programa);
    EXPECT_TRUE(linea.sin_ventanas);
    EXPECT_EQ(linea.carpeta, carpeta.Ruta());
    EXPECT_EQ(linea.error, "");

    linea = Leer({"--estado", "--json"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Estado);
    EXPECT_TRUE(linea.json);
    linea = Leer({"--reencolar", "42"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Reencolar);
    EXPECT_EQ(linea.id_solicitud, 42);
    linea = Leer({"--help"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Ayuda);
    EXPECT_NE(linea.ayuda.find("--estado"), std::string::npos);
    EXPECT_EQ(Leer({"-v"}).orden, Linea_Comandos::Orden::Version);

    EXPECT_EQ(Leer({"--reencolar", "x"}).error, "El ID de solicitud no es un número: x");
    EXPECT_EQ(Leer({"--json"}).error, "--json solo acompaña a --estado.");
    EXPECT_EQ(Leer({"--estado", "--reencolar", "1"}).error,
              "--estado y --reencolar no van juntos.");
    EXPECT_EQ(Leer({"--carpeta", ruta + "/no_existe"}).error,
              "La carpeta del programa no existe: " + carpeta.Ruta() + "/no_existe");
    EXPECT_EQ(Leer({"suelto"}).error, "Argumento no reconocido: suelto");
    EXPECT_NE(Leer({"--ventanas"}).error, "");
}

}  // namespace
}  // namespace facturador::pruebas

// Which credentials file each central account reads.

#include <gtest/gtest.h>
#include <unistd.h>

#include "apoyo/Entorno_Pruebas.h"
#include "platform/Archivos.h"
#include "platform/Cuentas_Centrales.h"

namespace facturador {
namespace {

// Each account its own file once it is there (a link or an unreadable file counts: its reader
// tells what is wrong); the console and monitoring fall back on the service's before that.
TEST(Cuentas_Centrales, CadaCuentaLeeSuArchivoYSinElLaDelServicio) {
    const pruebas::Carpeta_Temporal carpeta;
    const std::string dir = carpeta.Ruta();
    const auto ruta = [&](const char* nombre) { return Unir_Ruta(dir, nombre); };
    Escribir_Archivo(ruta("central.conf"), "");
    EXPECT_EQ(Archivo_Credenciales_de(Cuenta_Central::Servicio, dir), ruta("central.conf"));
    EXPECT_EQ(Archivo_Credenciales_de(Cuenta_Central::Consola, dir), ruta("central.conf"));
    EXPECT_EQ(Archivo_Credenciales_de(Cuenta_Central::Monitoreo, dir), ruta("central.conf"));

    Escribir_Archivo(ruta("consola.conf"), "");
    ASSERT_EQ(symlink("/no/existe", ruta("monitoreo.conf").c_str()), 0);
    EXPECT_EQ(Archivo_Credenciales_de(Cuenta_Central::Servicio, dir), ruta("central.conf"));
    EXPECT_EQ(Archivo_Credenciales_de(Cuenta_Central::Consola, dir), ruta("consola.conf"));
    EXPECT_EQ(Archivo_Credenciales_de(Cuenta_Central::Monitoreo, dir), ruta("monitoreo.conf"));

    EXPECT_EQ(Archivo_Credenciales_de(Cuenta_Central::Servicio), "/etc/facturador/central.conf");
    EXPECT_EQ(Cuenta_por_Nombre("consola"), Cuenta_Central::Consola);
    EXPECT_EQ(Cuenta_por_Nombre("Consola"), std::nullopt);
}

}  // namespace
}  // namespace facturador

#include <gtest/gtest.h>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "data/Conexiones.h"
#include "data/Configuracion.h"
#include "platform/Archivos.h"

namespace facturador {
namespace {

using pruebas::Ejecutar_SQLite;

class Cargar_Configuracion_Test : public testing::Test {
  protected:
    void SetUp() override {
        entorno.Crear_Bases_Locales();
        pruebas::Vaciar_Base_Central();
        Reiniciar_Configuracion();
    }

    std::string Archivo(const char* nombre) const { return Unir_Ruta(entorno.Carpeta(), nombre); }

    pruebas::Entorno_Pruebas entorno;  // 05/12/2026 10:15:40
    const Configuracion_Programa& cfg = Configuracion();
};

TEST_F(Cargar_Configuracion_Test, HistorialVacio) {
    ASSERT_EQ(Cargar_Configuracion(), Resultado_Configuracion::Continuar);
    EXPECT_EQ(cfg.Cadena_Conexion_Historial, Armar_Cadena_Historial());
    EXPECT_EQ(cfg.Cadena_Conexion_Central,
              Armar_Cadena_Central("Morvane_Central", "localhost", "3306"));
    EXPECT_EQ(cfg.Fecha_Ultima, "05/12/2026");
    EXPECT_EQ(cfg.Hora_Ultima, "");
    EXPECT_EQ(cfg.Fecha_Ultima_Exitosa, "05/12/2026");
    EXPECT_EQ(cfg.Hora_Ultima_Exitosa, "08:01");
    EXPECT_EQ(cfg.Proxima_Sincronizacion, "05/12/2026 00:00");
    EXPECT_EQ(cfg.Fecha_Apertura_Turno, "");
    EXPECT_TRUE(entorno.operador.mostrados.empty());
    EXPECT_FALSE(Existe_Archivo(Archivo("log_05_12_2026.txt")));
}

TEST_F(Cargar_Configuracion_Test, ElCentralEsSiempreElDeEstaMaquina) {
    Ejecutar_SQLite(Archivo("local.dll"),
                    "UPDATE Configuracion SET BD_MySQL = 'Otra', IP_Servidor = '10.1.2.3', "
                    "Ruta_BD = 'C:\\datos'");
    pruebas::Ejecutar_Central(
        "INSERT INTO Configuracion (ID, Fecha_Apertura_Turno) VALUES (1, '2026-12-01')");
    ASSERT_EQ(Cargar_Configuracion(), Resultado_Configuracion::Continuar);
    EXPECT_EQ(cfg.Servidor_Central, "localhost");
    EXPECT_EQ(cfg.Base_Central, "Morvane_Central");
    EXPECT_EQ(cfg.Ruta_BD, "C:\\datos");
    EXPECT_EQ(cfg.Fecha_Apertura_Turno, "01/12/2026");
}

TEST_F(Cargar_Configuracion_Test, SinColumnaIP_ServidorPideLaRutaYTermina) {
    Ejecutar_SQLite(Archivo("local.dll"),
                    "DROP TABLE Configuracion; CREATE TABLE Configuracion (Ruta_BD TEXT, "
                    "Ruta_BD_Documentos TEXT, Ruta_BD_Fotos TEXT, BD_MySQL TEXT); "
                    "INSERT INTO Configuracion VALUES ('', '', '', 'Morvane_Central')");
    bool dialogo_mostrado = false;
    entorno.operador.al_configurar_ruta_bd = [&] { dialogo_mostrado = true; };
    EXPECT_EQ(Cargar_Configuracion(), Resultado_Configuracion::Terminar_Programa);
    EXPECT_TRUE(dialogo_mostrado);
    const auto& mostrados = entorno.operador.mostrados;
    ASSERT_EQ(mostrados.size(), 2u);
    EXPECT_EQ(mostrados[0].tipo, "advertencia");
    EXPECT_EQ(mostrados[0].titulo, "Se produjo un error");
    EXPECT_EQ(mostrados[0].texto, "Favor de seleccionar la base de datos y reiniciar el programa.");
    EXPECT_EQ(mostrados[1].tipo, "ruta_bd");
    // Nothing after the failure ran: the run times were never worked out.
    EXPECT_EQ(cfg.Proxima_Sincronizacion, "");
}

TEST_F(Cargar_Configuracion_Test, RelojAnteriorAJunio2014) {
    entorno.reloj.Poner({2014, 5, 20, 9, 0, 0});
    ASSERT_EQ(Cargar_Configuracion(), Resultado_Configuracion::Continuar);
    EXPECT_EQ(cfg.Fecha_Ultima, "01/06/2014");
    EXPECT_EQ(cfg.Fecha_Ultima_Exitosa, "20/05/2014");
    EXPECT_EQ(cfg.Proxima_Sincronizacion, "20/05/2014 00:00");
}

TEST_F(Cargar_Configuracion_Test, SinHistorialSeAnotaEnElLogYElArranqueSigue) {
    Borrar_Archivo_Ignorando_Errores(Archivo("Taldo.dll"));
    ASSERT_EQ(Cargar_Configuracion(), Resultado_Configuracion::Continuar);
    EXPECT_EQ(cfg.Hora_Ultima, "");
    EXPECT_EQ(cfg.Hora_Ultima_Exitosa, "08:01");
    EXPECT_EQ(cfg.Proxima_Sincronizacion, "05/12/2026 00:00");
    EXPECT_TRUE(entorno.operador.mostrados.empty());
    const std::string log = Leer_Archivo(Archivo("log_05_12_2026.txt"));
    EXPECT_EQ(log.rfind("Ver. V. 5.3.0 - 10:15 -  No se pudo leer el historial de "
                        "sincronizaciones. Error: ",
                        0),
              0u)
        << log;
    EXPECT_FALSE(Existe_Archivo(Archivo("Taldo.dll")));
}

TEST_F(Cargar_Configuracion_Test, TomaLaUltimaYLaUltimaExitosa) {
    Ejecutar_SQLite(Archivo("Taldo.dll"),
                    "INSERT INTO Sincronizaciones VALUES "
                    "(7, '2026-12-04', '18:20:00', 'ok', 1), "
                    "(9, '2026-12-04', '11:30:15', 'ok', 1), "
                    "(12, '2026-12-03', '07:45:59', 'falla', 0), "
                    "(10, '2026-12-05', '06:00:00', 'falla', 0)");
    ASSERT_EQ(Cargar_Configuracion(), Resultado_Configuracion::Continuar);
    EXPECT_EQ(cfg.Fecha_Ultima, "05/12/2026");
    EXPECT_EQ(cfg.Hora_Ultima, "07:45");
    EXPECT_EQ(cfg.Fecha_Ultima_Exitosa, "05/12/2026");
    EXPECT_EQ(cfg.Hora_Ultima_Exitosa, "11:30");
    EXPECT_EQ(cfg.Proxima_Sincronizacion, "05/12/2026 07:45");
}

}  // namespace
}  // namespace facturador

#include <gtest/gtest.h>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "data/Conexiones.h"
#include "data/Configuracion.h"
#include "platform/Archivos.h"

namespace facturador {
namespace {

using pruebas::Ejecutar_SQLite;

// The per-operation central string leaves the port to the driver: nothing between the two keys.
TEST(Conexiones, CadenasExactasYLaCentralDeCadaOperacionSinPuerto) {
    pruebas::Entorno_Pruebas entorno;
    EXPECT_EQ(Armar_Cadena_Central("Morvane_Central", "localhost", "3306"),
              "Provider=MSDASQL.1;Password=;Persist Security Info=True;User ID=;Extended "
              "Properties=\"DRIVER={MySQL ODBC 3.51 Driver};DESC=;DATABASE=Morvane_Central;"
              "SERVER=localhost;UID=usuarios;PASSWORD=m58kbwTavRz07;PORT=3306;OPTION=16387;"
              "STMT=;\"");
    const std::string jet = "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" + entorno.Carpeta();
    const std::string clave = " ;Jet OLEDB:Database Password= Qx7Lm2Vb9TpWc4Hd";
    EXPECT_EQ(Cadena_Conexion_Local(), jet + "/local.dll" + clave);
    EXPECT_EQ(Armar_Cadena_Historial(), jet + "/Taldo.dll" + clave);

    Configuracion().Cadena_Conexion_Central = "otra";
    Conexion conexion;
    Abrir_Conexion_Central(conexion);
    EXPECT_TRUE(conexion.Abierta());
    EXPECT_EQ(Configuracion().Cadena_Conexion_Central, pruebas::Cadena_Central_Pruebas());
    Cerrar_Conexion(conexion);
    EXPECT_FALSE(conexion.Abierta());
}

class Cargar_Configuracion_Test : public testing::Test {
  protected:
    void SetUp() override {
        entorno.Crear_Bases_Locales();
        pruebas::Vaciar_Base_Central();
        Reiniciar_Configuracion();
    }

    std::string Archivo(const char* nombre) const { return Unir_Ruta(entorno.Carpeta(), nombre); }
    // "Fecha_Ultima Hora_Ultima | Fecha_Ultima_Exitosa Hora_Ultima_Exitosa | Proxima".
    std::string Horarios() const {
        return cfg.Fecha_Ultima + " " + cfg.Hora_Ultima + " | " + cfg.Fecha_Ultima_Exitosa + " " +
               cfg.Hora_Ultima_Exitosa + " | " + cfg.Proxima_Sincronizacion;
    }

    pruebas::Entorno_Pruebas entorno;  // 05/12/2026 10:15:40
    const Configuracion_Programa& cfg = Configuracion();
};

// With no run history the times are today's defaults, and a clock before June 2014 shows that
// date. A history that cannot be read gives the same, is logged, and start-up goes on.
TEST_F(Cargar_Configuracion_Test, HistorialVacioIlegibleYRelojAnteriorAJunio2014) {
    ASSERT_EQ(Cargar_Configuracion(), Resultado_Configuracion::Continuar);
    EXPECT_EQ(cfg.Cadena_Conexion_Central,
              Armar_Cadena_Central("Morvane_Central", "localhost", "3306"));
    EXPECT_EQ(Horarios(), "05/12/2026  | 05/12/2026 08:01 | 05/12/2026 00:00");
    EXPECT_EQ(cfg.Fecha_Apertura_Turno, "");
    EXPECT_FALSE(Existe_Archivo(Archivo("log_05_12_2026.txt")));

    Borrar_Archivo_Ignorando_Errores(Archivo("Taldo.dll"));
    Reiniciar_Configuracion();
    ASSERT_EQ(Cargar_Configuracion(), Resultado_Configuracion::Continuar);
    EXPECT_EQ(Horarios(), "05/12/2026  | 05/12/2026 08:01 | 05/12/2026 00:00");
    EXPECT_TRUE(Leer_Archivo(Archivo("log_05_12_2026.txt"))
                    .starts_with("Ver. V. 5.3.0 - 10:15 -  No se pudo leer el historial de "
                                 "sincronizaciones. Error: "));
    EXPECT_FALSE(Existe_Archivo(Archivo("Taldo.dll")));

    entorno.reloj.Poner({2014, 5, 20, 9, 0, 0});
    Reiniciar_Configuracion();
    ASSERT_EQ(Cargar_Configuracion(), Resultado_Configuracion::Continuar);
    EXPECT_EQ(Horarios(), "01/06/2014  | 20/05/2014 08:01 | 20/05/2014 00:00");
    EXPECT_TRUE(entorno.operador.mostrados.empty());
}

// The newest run and the newest successful one by key; the next run keeps the last one's minute
// and never passes into tomorrow. The central server is this machine's, whatever the local table
// names.
TEST_F(Cargar_Configuracion_Test, TomaLaUltimaYLaUltimaExitosaYElCentralEsElDeEstaMaquina) {
    Ejecutar_SQLite(Archivo("Taldo.dll"),
                    "INSERT INTO Sincronizaciones VALUES "
                    "(7, '2026-12-04', '18:20:00', 'ok', 1), "
                    "(9, '2026-12-04', '11:30:15', 'ok', 1), "
                    "(12, '2026-12-03', '23:59:59', 'falla', 0), "
                    "(10, '2026-12-05', '06:00:00', 'falla', 0)");
    Ejecutar_SQLite(Archivo("local.dll"),
                    "UPDATE Configuracion SET BD_MySQL = 'Otra', IP_Servidor = '10.1.2.3', "
                    "Ruta_BD = 'C:\\datos'");
    pruebas::Ejecutar_Central(
        "INSERT INTO Configuracion (ID, Fecha_Apertura_Turno) VALUES (1, '2026-12-01')");
    ASSERT_EQ(Cargar_Configuracion(), Resultado_Configuracion::Continuar);
    EXPECT_EQ(Horarios(), "05/12/2026 23:59 | 05/12/2026 11:30 | 05/12/2026 23:59");
    EXPECT_EQ(cfg.Servidor_Central + " " + cfg.Base_Central, "localhost Morvane_Central");
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
    EXPECT_EQ(mostrados[0].tipo + ": " + mostrados[0].titulo + " / " + mostrados[0].texto,
              "advertencia: Se produjo un error / Favor de seleccionar la base de datos y "
              "reiniciar el programa.");
    EXPECT_EQ(mostrados[1].tipo, "ruta_bd");
    // Nothing after the failure ran: the run times were never worked out.
    EXPECT_EQ(cfg.Proxima_Sincronizacion, "");
}

}  // namespace
}  // namespace facturador

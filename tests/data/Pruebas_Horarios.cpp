#include <gtest/gtest.h>

#include "data/Historial_Sincronizaciones.h"

namespace facturador {
namespace {

TEST(Horarios, ValoresDeFechaYHoraComoTexto) {
    EXPECT_EQ(Fecha_Como_Texto("2026-12-01"), "01/12/2026");
    EXPECT_EQ(Fecha_Como_Texto(""), "");
    EXPECT_EQ(Hora_Como_Texto("07:05:59"), "07:05");
    EXPECT_EQ(Hora_Como_Texto("1899-12-30 23:45:10"), "23:45");
    EXPECT_EQ(Hora_Como_Texto(""), "");
}

// The next run keeps the last run's minute: its seconds are gone before the 10 are added.
TEST(Horarios, LaProximaNoPasaDeDia) {
    Configuracion_Programa cfg;
    cfg.Hora_Ultima = "23:59";
    cfg.Hora_Ultima_Exitosa = "11:30";
    Calcular_Horarios(cfg, {2026, 12, 5, 10, 15, 40});
    EXPECT_EQ(cfg.Proxima_Sincronizacion, "05/12/2026 23:59");
    EXPECT_EQ(cfg.Hora_Ultima_Exitosa, "11:30");
}

}  // namespace
}  // namespace facturador

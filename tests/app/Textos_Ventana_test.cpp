#include "app/Textos_Ventana.h"

#include <gtest/gtest.h>

namespace facturador {
namespace {

// The last runs show "dd-mm-yy  Hh:Nn hs." with two blanks, the next run one blank; the missing
// time of an empty run history leaves its blanks.
TEST(Textos_Ventana, Fechas_Cortas_Y_Horas_Sin_Segundos) {
    Configuracion_Programa c;
    c.Fecha_Ultima = "05/12/2026";
    c.Hora_Ultima = "09:07";
    c.Fecha_Ultima_Exitosa = "31/01/2000";
    c.Hora_Ultima_Exitosa = "23:59";
    c.Proxima_Sincronizacion = "05/12/2026 10:15";
    const Textos_Horas t = Textos_Mostrar_Datos(c);
    EXPECT_EQ(t.Hora_Ultima, "05-12-26  09:07 hs.");
    EXPECT_EQ(t.Hora_Ultima_Exitosa, "31-01-00  23:59 hs.");
    EXPECT_EQ(t.Hora_Siguiente, "05-12-26 10:15 hs.");
    EXPECT_EQ(Texto_Fecha_y_Hora("05/12/2026", ""), "05-12-26   hs.");
}

}  // namespace
}  // namespace facturador

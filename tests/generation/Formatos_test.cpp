#include <gtest/gtest.h>

#include "data/Formatos_Importe.h"
#include "data/Rechazo_Solicitud.h"
#include "generation/Fecha_Factura.h"

namespace facturador {
namespace {

TEST(Formatos_Importe, RedondeaMitadesHaciaAfueraYSoloLosMensajesAgrupanMiles) {
    const struct {
        double importe;
        const char *archivo, *mensaje;
    } casos[] = {
        {1.005, "1.01", "1.01"},  // 1.00499999999999989... in binary
        {-1.005, "-1.01", "-1.01"},
        {2.675, "2.68", "2.68"},
        {100 / 1.16, "86.21", "86.21"},
        {100 - 86.21, "13.79", "13.79"},
        {999999.995, "1000000.00", "1,000,000.00"},
        {-1500, "-1500.00", "-1,500.00"},
        {0.5, "0.50", "0.50"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(Formato_Importe_Archivo(c.importe), c.archivo) << c.importe;
        EXPECT_EQ(Formato_Importe_Mensaje(c.importe), c.mensaje) << c.importe;
    }
    EXPECT_EQ(Formato_Importe_Archivo(-0.001), "0.00");
    EXPECT_DOUBLE_EQ(Redondear_Centavos(10 / 1.16), 8.62);
    // SQL takes the shortest decimal.
    EXPECT_EQ(Formato_Importe_SQL(150.5), "150.5");
    EXPECT_EQ(Formato_Importe_SQL(116), "116");
    EXPECT_EQ(Formato_Importe_SQL(0.1 + 0.2), "0.3");
    EXPECT_EQ(Formato_Importe_SQL(-0.0), "0");
}

TEST(Textos_Rechazo, QuitanApostrofesOComillasYRecortanBlancos) {
    EXPECT_EQ(Texto_Sin_Tilde("  L'Orange \"d'Or\"  "), "LOrange \"dOr\"");
    EXPECT_EQ(Texto_Sin_Comillas(" \"Sucursal\" 'Ñandú' "), "Sucursal 'Ñandú'");
    EXPECT_EQ(Texto_Sin_Comillas("\ttab\t"), "\ttab\t");  // only blanks are trimmed
    EXPECT_EQ(Texto_Sin_Tilde("' '"), "");
}

// Three days back keeps its own date at 23:59:50; older goes to three days back at 23:59:50;
// newer, or dated in the future, is now.
TEST(Fecha_Factura, TresDiasAtrasEsElLimite) {
    const Fecha_Hora ahora{2026, 12, 2, 9, 5, 7};
    const struct {
        Fecha_Hora fecha;
        const char* esperada;
    } casos[] = {
        {{2026, 12, 2}, "2026-12-02T09:05:07"},  {{2026, 11, 30}, "2026-12-02T09:05:07"},
        {{2026, 12, 3}, "2026-12-02T09:05:07"},  {{2026, 11, 29}, "2026-11-29T23:59:50"},
        {{2026, 11, 28}, "2026-11-29T23:59:50"}, {{2025, 1, 1}, "2026-11-29T23:59:50"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Fecha_para_Timbrar(c.fecha, ahora), c.esperada) << c.esperada;
    EXPECT_EQ(Fecha_para_Timbrar({2026, 12, 20}, {2027, 1, 1, 0, 0, 1}), "2026-12-29T23:59:50");
}

}  // namespace
}  // namespace facturador

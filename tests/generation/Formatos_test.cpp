#include <gtest/gtest.h>

#include "generation/Fecha_Factura.h"
#include "generation/Formatos_Importe.h"
#include "issuing_config/Valores_Campo.h"

namespace facturador {
namespace {

TEST(Formatos_Importe, RedondeaMitadesHaciaAfueraSobreQuinceCifras) {
    EXPECT_EQ(Formato_Importe_Archivo(1.005), "1.01");  // 1.00499999999999989... in binary
    EXPECT_EQ(Formato_Importe_Archivo(2.675), "2.68");
    EXPECT_EQ(Formato_Importe_Archivo(0.005), "0.01");
    EXPECT_EQ(Formato_Importe_Archivo(0.004), "0.00");
    EXPECT_EQ(Formato_Importe_Archivo(-1.005), "-1.01");
    EXPECT_EQ(Formato_Importe_Archivo(-0.001), "0.00");
    EXPECT_EQ(Formato_Importe_Archivo(0), "0.00");
    EXPECT_EQ(Formato_Importe_Archivo(999.995), "1000.00");
    EXPECT_EQ(Formato_Importe_Archivo(100 / 1.16), "86.21");
    EXPECT_EQ(Formato_Importe_Archivo(100 - 86.21), "13.79");
    EXPECT_EQ(Formato_Importe_Archivo(12345678901234.5), "12345678901234.50");
    EXPECT_DOUBLE_EQ(Redondear_Centavos(10 / 1.16), 8.62);
}

TEST(Formatos_Importe, MensajesConSeparadorDeMiles) {
    EXPECT_EQ(Formato_Importe_Mensaje(350), "350.00");
    EXPECT_EQ(Formato_Importe_Mensaje(1000), "1,000.00");
    EXPECT_EQ(Formato_Importe_Mensaje(1234567.891), "1,234,567.89");
    EXPECT_EQ(Formato_Importe_Mensaje(999999.995), "1,000,000.00");
    EXPECT_EQ(Formato_Importe_Mensaje(-1500), "-1,500.00");
    EXPECT_EQ(Formato_Importe_Mensaje(0.5), "0.50");
}

TEST(Formatos_Importe, SqlEnDecimalCortoDeHastaQuinceCifras) {
    EXPECT_EQ(Formato_Importe_SQL(150.5), "150.5");
    EXPECT_EQ(Formato_Importe_SQL(116), "116");
    EXPECT_EQ(Formato_Importe_SQL(0.1 + 0.2), "0.3");
    EXPECT_EQ(Formato_Importe_SQL(1250.75), "1250.75");
    EXPECT_EQ(Formato_Importe_SQL(-0.0), "0");
}

TEST(Valores_Campo, NumeroInicialYEnteros) {
    EXPECT_EQ(Valor_Inicial("125"), 125);
    EXPECT_EQ(Valor_Inicial("  12abc"), 12);
    EXPECT_EQ(Valor_Inicial("-7.5e1x"), -75);
    EXPECT_EQ(Valor_Inicial(""), 0);
    EXPECT_EQ(Valor_Inicial("abc"), 0);
    EXPECT_EQ(Leer_Entero("4711"), 4711);
    EXPECT_EQ(Leer_Entero(""), std::nullopt);
    EXPECT_EQ(Leer_Entero("12a"), std::nullopt);
    EXPECT_EQ(Leer_Entero("3000000000"), std::nullopt);
    EXPECT_EQ(Leer_Numero("1250.75"), 1250.75);
    EXPECT_EQ(Ruta_Desde_BD("*tmp*demo*cola"), "/tmp/demo/cola");
    EXPECT_EQ(Ruta_Para_BD("/tmp/o'neil/cola"), "*tmp*o'neil*cola");
}

TEST(Fecha_Factura, HastaTresDiasAtrasSeFacturaConSuFechaOAhora) {
    const Fecha_Hora ahora{2026, 12, 2, 9, 5, 7};
    const auto fecha = [&](int anio, int mes, int dia) {
        return Fecha_para_Timbrar(Fecha_Hora{anio, mes, dia}, ahora);
    };
    EXPECT_EQ(fecha(2026, 12, 2), "2026-12-02T09:05:07");
    EXPECT_EQ(fecha(2026, 12, 1), "2026-12-02T09:05:07");
    EXPECT_EQ(fecha(2026, 11, 30), "2026-12-02T09:05:07");
    EXPECT_EQ(fecha(2026, 12, 3), "2026-12-02T09:05:07");  // dated tomorrow
    EXPECT_EQ(fecha(2026, 11, 29), "2026-11-29T23:59:50");
    EXPECT_EQ(fecha(2026, 11, 28), "2026-11-29T23:59:50");
    EXPECT_EQ(fecha(2025, 1, 1), "2026-11-29T23:59:50");
    // Across a year end.
    EXPECT_EQ(Fecha_para_Timbrar({2026, 12, 20}, {2027, 1, 1, 0, 0, 1}), "2026-12-29T23:59:50");
}

}  // namespace
}  // namespace facturador

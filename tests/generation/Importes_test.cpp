// The file's amounts add up for every total, and a total in fractions of a cent takes no folio.

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

#include "generation/Archivo_Timbrar.h"
#include "generation/Validacion_Fiscal.h"

namespace facturador::pruebas {
namespace {

// "4.07" → 407; -1 for any other form than digits, a point and two digits.
long long Centavos(const std::string& texto) {
    long long centavos = 0;
    for (size_t i = 0; i < texto.size(); ++i) {
        if (i + 3 == texto.size() ? texto[i] != '.' : texto[i] < '0' || texto[i] > '9')
            return -1;
        centavos = i + 3 == texto.size() ? centavos : centavos * 10 + (texto[i] - '0');
    }
    return texto.size() < 4 ? -1 : centavos;
}

// The first total in cents from `desde` by `paso` whose SubTotal + IVA is not the Total, or whose
// IVA lies outside (Base ± 0.005) × 0.16, truncated and rounded up to cents (Anexo 20); else 0.
long long Primer_Total_Que_No_Cuadra(long long desde, long long hasta, long long paso) {
    for (long long t = desde; t <= hasta; t += paso) {
        const Importes_Archivo i = Importes_para_Timbrar(static_cast<double>(t) / 100);
        const long long base = Centavos(i.Subtotal), iva = Centavos(i.IVA);
        const long long inferior = (16 * base - 8) / 100, superior = (16 * base + 8 + 99) / 100;
        if (Centavos(i.Total) != t || base < 0 || iva < 0 || base + iva != t || iva < inferior ||
            iva > superior)
            return t;
    }
    return 0;
}

// Every total from 0.01 to 100,000.00, in two halves at once.
TEST(Importes_Archivo, CadaTotalHastaCienMilCuadraConSuSubtotalYSuIva) {
    constexpr long long kHasta = 10'000'000;
    std::atomic<long long> fallas[2] = {0, 0};
    std::thread hilos[2];
    for (int h = 0; h < 2; ++h)
        hilos[h] =
            std::thread([&, h] { fallas[h] = Primer_Total_Que_No_Cuadra(1 + h, kHasta, 2); });
    for (std::thread& hilo : hilos)
        hilo.join();
    EXPECT_EQ(fallas[0] + fallas[1], 0) << fallas[0] << " " << fallas[1];
    const Importes_Archivo cien = Importes_para_Timbrar(100);
    EXPECT_EQ(cien.Subtotal + "|" + cien.IVA + "|" + cien.Total, "86.21|13.79|100.00");
}

// A third decimal is refused before the folio: 4.725 would have gone as 4.07 + 0.65 for 4.73.
TEST(Importes_Archivo, UnTotalConTresDecimalesSeRechazaAntesDelFolio) {
    std::mt19937_64 azar(20260122);
    std::uniform_int_distribution<long long> milesimos(1, 100'000'000);
    int rechazados = 0;
    for (int n = 0; n < 20000; ++n) {
        long long m = milesimos(azar);
        m += m % 10 == 0;
        const double total = static_cast<double>(m) / 1000;
        const auto motivo = Motivo_Rechazo_Fiscal(
            {"RALJ900215QW1", "JULIA", "44100", "612", "G03", "53100", "01", total});
        rechazados += motivo.has_value();
        ASSERT_TRUE(motivo) << total;
        EXPECT_TRUE(motivo->starts_with("Total de la solicitud")) << *motivo;
    }
    EXPECT_EQ(rechazados, 20000);
    EXPECT_FALSE(Motivo_Rechazo_Fiscal(
        {"RALJ900215QW1", "JULIA", "44100", "612", "G03", "53100", "01", 4.720}));
}

}  // namespace
}  // namespace facturador::pruebas

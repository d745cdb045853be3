// The "Fecha=" of a file to stamp on a UTC clock: the place of issue's local time, never later than
// now by the law or c_CodigoPostal, and a back-dated one at least an hour inside the 72 hours.

#include <gtest/gtest.h>

#include "apoyo/Reloj_Fijo.h"
#include "generation/Fecha_Factura.h"
#include "issuing_config/Zona_Sucursal.h"

namespace facturador::pruebas {
namespace {

constexpr const char* kUTC = "Etc/UTC";

Instante UTC(const Fecha_Hora& f) {
    return Instante_Local(f, kUTC);
}

Relojes_Lugar Relojes_CP(const std::string& cp) {
    Datos_Emision perfil;
    perfil.ID_Sucursal = 1;
    perfil.CP_Domicilio_Expedicion = cp;
    return Relojes_de(Elegir_Zona_Sucursal(perfil, {}));
}

class Fecha_Factura : public ::testing::Test {
  protected:
    Fecha_Factura() { Entorno_Actual().reloj = &reloj; }
    ~Fecha_Factura() override { Entorno_Actual().reloj = nullptr; }
    // The date of a request made now (dated in the future, so never back-dated).
    static std::string Ahora(const std::string& cp, const Fecha_Hora& utc) {
        return Fecha_para_Timbrar({2030, 1, 1}, Relojes_CP(cp), UTC(utc));
    }
    Reloj_Fijo reloj{{2026, 12, 5, 18, 0, 0}, kUTC};
};

// Juárez keeps UTC-7 in winter and UTC-6 in summer, the catalogue the reverse: it takes UTC-7 all
// year. Ojinaga changes its clocks, its catalogue row does not: UTC-6. The six of Coahuila, Nuevo
// León and Tamaulipas agree with their row (US central time); Bahía de Banderas keeps central time
// all year. A repeated hour is left while its later reading would still be in the future.
TEST_F(Fecha_Factura, LosNueveLugaresDeLaFronteraYBahiaDeBanderasEnUnRelojUTC) {
    const struct {
        std::vector<const char*> cps;
        std::vector<std::pair<Fecha_Hora, const char*>> fechas;  // UTC → Fecha
    } grupos[] = {
        {{"87300", "88500", "88000", "26000", "26200", "65000"},
         {{{2026, 1, 15, 18, 0, 0}, "2026-01-15T12:00:00"},
          {{2026, 7, 15, 18, 0, 0}, "2026-07-15T13:00:00"},
          {{2026, 3, 8, 7, 59, 59}, "2026-03-08T01:59:59"},
          {{2026, 3, 8, 8, 0, 0}, "2026-03-08T03:00:00"},
          {{2026, 11, 1, 6, 30, 0}, "2026-11-01T00:30:00"},
          {{2026, 11, 1, 7, 0, 0}, "2026-11-01T01:00:00"}}},
        {{"32000"},
         {{{2026, 1, 15, 18, 0, 0}, "2026-01-15T11:00:00"},
          {{2026, 7, 15, 18, 0, 0}, "2026-07-15T11:00:00"},
          {{2026, 3, 8, 7, 59, 59}, "2026-03-08T00:59:59"},
          {{2026, 3, 8, 8, 59, 59}, "2026-03-08T01:59:59"},
          {{2026, 3, 8, 9, 0, 0}, "2026-03-08T02:00:00"},
          {{2026, 11, 1, 7, 59, 59}, "2026-11-01T00:59:59"},
          {{2026, 11, 1, 8, 0, 0}, "2026-11-01T01:00:00"},
          {{2026, 11, 1, 9, 0, 0}, "2026-11-01T02:00:00"}}},
        {{"32880"},
         {{{2026, 1, 15, 18, 0, 0}, "2026-01-15T12:00:00"},
          {{2026, 7, 15, 18, 0, 0}, "2026-07-15T12:00:00"},
          {{2026, 3, 8, 7, 59, 59}, "2026-03-08T01:59:59"},
          {{2026, 3, 8, 8, 0, 0}, "2026-03-08T02:00:00"},
          {{2026, 11, 1, 6, 59, 59}, "2026-11-01T00:59:59"},
          {{2026, 11, 1, 7, 0, 0}, "2026-11-01T01:00:00"}}},
        {{"63735"},
         {{{2026, 1, 15, 18, 0, 0}, "2026-01-15T12:00:00"},
          {{2026, 7, 15, 18, 0, 0}, "2026-07-15T12:00:00"},
          {{2026, 3, 8, 8, 0, 0}, "2026-03-08T02:00:00"},
          {{2026, 11, 1, 7, 0, 0}, "2026-11-01T01:00:00"}}},
    };
    for (const auto& grupo : grupos)
        for (const char* cp : grupo.cps)
            for (const auto& [utc, fecha] : grupo.fechas)
                EXPECT_EQ(Ahora(cp, utc), fecha) << cp << " " << Formato_ISO(utc);
}

// A request three days old or older is dated three days back at 23:59:50 while that leaves the
// hour's margin, else (now at 23:59 local; the border's 73-hour November days) 71 hours back.
// A newer request, or one dated in the future, is dated now.
TEST_F(Fecha_Factura, TresDiasAtrasConUnaHoraDeMargen) {
    const struct {
        const char* cp;
        Fecha_Hora utc, solicitud;
        const char* fecha;
    } casos[] = {
        {"06000", {2026, 12, 2, 15, 5, 7}, {2026, 12, 2}, "2026-12-02T09:05:07"},
        {"06000", {2026, 12, 2, 15, 5, 7}, {2026, 11, 30}, "2026-12-02T09:05:07"},
        {"06000", {2026, 12, 2, 15, 5, 7}, {2026, 12, 3}, "2026-12-02T09:05:07"},
        {"06000", {2026, 12, 2, 15, 5, 7}, {2026, 11, 29}, "2026-11-29T23:59:50"},
        {"06000", {2026, 12, 2, 15, 5, 7}, {2025, 1, 1}, "2026-11-29T23:59:50"},
        {"06000", {2027, 1, 1, 6, 0, 1}, {2026, 12, 20}, "2026-12-29T23:59:50"},
        {"06000", {2026, 12, 6, 4, 59, 0}, {2026, 12, 1}, "2026-12-02T23:59:50"},
        {"06000", {2026, 12, 6, 5, 59, 0}, {2026, 12, 1}, "2026-12-03T00:59:00"},
        {"06000", {2026, 12, 6, 5, 59, 0}, {2026, 12, 2}, "2026-12-03T00:59:00"},
        {"22000", {2026, 11, 4, 5, 0, 0}, {2026, 10, 31}, "2026-10-31T23:59:50"},
        {"22000", {2026, 11, 4, 7, 40, 0}, {2026, 10, 31}, "2026-11-01T01:40:00"},
        {"22000", {2026, 11, 4, 7, 59, 0}, {2026, 10, 28}, "2026-11-01T01:59:00"},
        {"87300", {2026, 11, 4, 5, 59, 0}, {2026, 10, 30}, "2026-11-01T01:59:00"},
        {"32000", {2026, 3, 11, 6, 59, 0}, {2026, 3, 7}, "2026-03-08T01:59:00"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Fecha_para_Timbrar(c.solicitud, Relojes_CP(c.cp), UTC(c.utc)), c.fecha)
            << c.cp << " " << Formato_ISO(c.utc);
}

// Every instant a local time denotes in either reckoning: W - d for each difference d kept.
std::vector<Instante> Lecturas(const Fecha_Hora& f, const Relojes_Lugar& r) {
    std::vector<Instante> lecturas;
    for (const long long d : {-8 * 3600, -7 * 3600, -6 * 3600, -5 * 3600}) {
        const Instante i = UTC(f) - d;
        if (Diferencia_UTC_Zona(r.Zona, i) == d || Diferencia_UTC(*r.Huso, i) == d)
            lecturas.push_back(i);
    }
    return lecturas;
}

// Through the days around the changes of 2026, every ten minutes: a date of now denotes no later
// instant, and a back-dated one no instant more than 71 hours back, in either reckoning.
TEST_F(Fecha_Factura, NingunaLecturaEnElFuturoNiFueraDeLas71Horas) {
    const Fecha_Hora dias[] = {{2026, 1, 15},  {2026, 3, 7},  {2026, 3, 8}, {2026, 3, 9},
                               {2026, 10, 31}, {2026, 11, 1}, {2026, 11, 2}};
    for (const char* cp : {"32000", "32880", "87300", "22000", "63735", "06000", "83000"}) {
        const Relojes_Lugar relojes = Relojes_CP(cp);
        for (const Fecha_Hora& dia : dias)
            for (Instante ahora = UTC(dia); ahora < UTC(dia) + 86400; ahora += 600)
                for (const Fecha_Hora solicitud :
                     {Fecha_Hora{2030, 1, 1}, Fecha_Hora{2026, 1, 1}}) {
                    const auto fecha =
                        Leer_Fecha_Hora(Fecha_para_Timbrar(solicitud, relojes, ahora));
                    ASSERT_TRUE(fecha);
                    for (const Instante i : Lecturas(*fecha, relojes)) {
                        EXPECT_LE(i, ahora) << cp << " " << ahora;
                        EXPECT_GE(i, ahora - kAtraso_Maximo + kMargen_Atraso) << cp << " " << ahora;
                    }
                }
    }
}

}  // namespace
}  // namespace facturador::pruebas

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>

#include "apoyo/Siembra.h"
#include "issuing_config/Datos_Emision.h"
#include "issuing_config/Hora_Lugar.h"
#include "issuing_config/Zona_Sucursal.h"
#include "issuing_config/Zonas_Horarias.h"
#include "platform/Zona_Horaria.h"

namespace facturador::pruebas {
namespace {

// Each code of a zone as "código_postal estado municipio" (none where the catalogue gives none).
size_t Comprobar(const char* zona, const char* huso, std::initializer_list<std::string> lugares) {
    for (const std::string& l : lugares) {
        const std::string cp = l.substr(0, 5);
        const auto lugar = Zona_de_Codigo_Postal(cp);
        EXPECT_TRUE(lugar && lugar->Huso) << l;
        if (!lugar || !lugar->Huso)
            continue;
        EXPECT_EQ(lugar->Estado, l.substr(6, 3)) << l;
        EXPECT_EQ(lugar->Municipio, l.size() > 9 ? l.substr(10) : "") << l;
        EXPECT_EQ(lugar->Zona, zona) << l;
        EXPECT_EQ(Texto_Huso(*lugar->Huso), huso) << l;
    }
    return lugares.size();
}

constexpr const char* kCentro = "Tiempo del Centro (UTC-6)";
constexpr const char* kPacifico = "Tiempo del Pacífico (UTC-7)";
constexpr const char* kFrontera = "Tiempo del Centro en Frontera (verano UTC-5, invierno UTC-6)";
constexpr const char* kJuarez = "Tiempo del Centro en Frontera (verano UTC-7, invierno UTC-6)";

// Every municipality of the northern border that keeps another zone than its state, by a code of
// its own; codes the catalogue gives no municipality, placed by their row; Bahía de Banderas.
TEST(Zonas_Horarias, CadaMunicipioDeLaFronteraTieneSuZona) {
    Comprobar("America/Ciudad_Juarez", kJuarez,
              {"31820 CHH 005", "32740 CHH 028", "31840 CHH 035", "32000 CHH 037", "32780 CHH 053",
               "31824 CHH"});
    Comprobar("America/Ojinaga", kCentro, {"32850 CHH 015", "32980 CHH 042", "32880 CHH 052"});
    Comprobar("America/Matamoros", kFrontera,
              {"26200 COA 002", "26530 COA 003", "26640 COA 012", "26670 COA 013", "26400 COA 014",
               "26500 COA 019", "26170 COA 022", "27500 COA 023", "26000 COA 025", "26600 COA 037",
               "26450 COA 038", "65000 NLE 005", "88440 TAM 007", "88370 TAM 014", "88400 TAM 015",
               "87300 TAM 022", "88390 TAM 024", "88300 TAM 025", "88000 TAM 027", "88500 TAM 032",
               "88800 TAM 033", "87500 TAM 040"});
    Comprobar("America/Matamoros", kFrontera, {"26001 COA", "65003 NLE", "87301 TAM"});
    Comprobar("America/Bahia_Banderas", kCentro, {"63735 NAY 020"});
    Comprobar("America/Chihuahua", kCentro, {"31001 CHH"});
    Comprobar("America/Monterrey", kCentro, {"87001 TAM"});
    Comprobar("America/Mazatlan", kPacifico, {"63727 NAY"});
}

// A code of every state, with the zone of its state and its catalogue row.
TEST(Zonas_Horarias, UnCodigoDeCadaEstado) {
    size_t estados = Comprobar(
        "America/Mexico_City", kCentro,
        {"01000 CMX 010", "20000 AGU 001", "28000 COL 002", "29000 CHP 101", "36000 GUA 015",
         "39000 GRO 029", "42000 HID 048", "44009 JAL 039", "50000 MEX 106", "58000 MIC 053",
         "62000 MOR 007", "68000 OAX 067", "72000 PUE 114", "76000 QUE 014", "78000 SLP 028",
         "86000 TAB 004", "90000 TLA 033", "91000 VER 087", "98000 ZAC 056"});
    estados += Comprobar("America/Monterrey", kCentro,
                         {"25000 COA 030", "34000 DUR 005", "64000 NLE 039", "87000 TAM 041"});
    estados += Comprobar("America/Merida", kCentro, {"24000 CAM 002", "97000 YUC 050"});
    estados += Comprobar("America/Chihuahua", kCentro, {"31000 CHH 019"});
    estados += Comprobar("America/Mazatlan", kPacifico,
                         {"23000 BCS 003", "63000 NAY 017", "80000 SIN 006"});
    estados += Comprobar("America/Hermosillo", kPacifico, {"83000 SON 030"});
    estados += Comprobar("America/Tijuana", "Tiempo del Noroeste (verano UTC-7, invierno UTC-8)",
                         {"21000 BCN 002"});
    estados += Comprobar("America/Cancun", "Tiempo del Sureste (UTC-5)", {"77000 ROO 004"});
    EXPECT_EQ(Zonas_Legales_Vigentes().Estados.size(), estados);
}

// The catalogue's 95,748 codes, each with a zone tzdata has; the law's and the catalogue's clocks
// differ only for Juárez's group (830 codes) and Ojinaga's (27). A code not held keeps its state;
// 17 to 19 and malformed texts have none. The law's municipalities are all in the catalogue.
TEST(Zonas_Horarias, ElCatalogoCompletoYSusDosHoras) {
    EXPECT_EQ(Catalogo_Codigos_Postales_Vigente().Cantidad(), 95748u);
    std::map<std::pair<std::string, std::string>, int> pares, municipios;
    for (int n = 0; n < 100000; ++n) {
        const std::string cp = fmt::format("{:05}", n);
        const auto lugar = Zona_de_Codigo_Postal(cp);
        if (!lugar || !lugar->Huso)
            continue;
        ++pares[{lugar->Zona, Texto_Huso(*lugar->Huso)}];
        ++municipios[{lugar->Estado, lugar->Municipio}];
    }
    std::map<std::string, int> difieren;
    const Instante anio = Instante_Local({2026, 1, 1}, "Etc/UTC");
    for (const auto& [par, codigos] : pares) {
        ASSERT_TRUE(Es_Zona_Conocida(par.first)) << par.first;
        const auto huso = Zona_de_Codigo_Postal(par.first == "America/Ojinaga" ? "32880" : "32000");
        if (Relojes_Difieren({par.first, *huso->Huso}, anio, anio + 365 * 86400) &&
            Texto_Huso(*huso->Huso) == par.second)
            difieren[par.first] += codigos;
    }
    EXPECT_EQ(difieren, (std::map<std::string, int>{{"America/Ciudad_Juarez", 830},
                                                    {"America/Ojinaga", 27}}));
    for (const auto& [estado, zonas] : Zonas_Legales_Vigentes().Estados)
        for (const auto& [municipio, zona] : zonas.Municipios)
            EXPECT_TRUE(municipios.contains({estado, municipio})) << estado << " " << municipio;
    const auto fuera = Zona_de_Codigo_Postal("28470");
    ASSERT_TRUE(fuera);
    EXPECT_EQ(*fuera, (Zona_Lugar{"COL", "", "America/Mexico_City", std::nullopt}));
    Datos_Emision perfil;
    perfil.CP_Domicilio_Expedicion = "28470";
    EXPECT_EQ(Texto_Zona_Sucursal(5, "Colima", Elegir_Zona_Sucursal(perfil, {})),
              "Sucursal 5 (Colima): zona horaria America/Mexico_City por el código postal 28470 "
              "(Colima; el código no está en el catálogo c_CodigoPostal)");
    for (const char* sin_zona :
         {"17000", "18999", "19500", "00999", "0100", "010000", "A1000", " 44100", ""})
        EXPECT_FALSE(Zona_de_Codigo_Postal(sin_zona)) << '"' << sin_zona << '"';
}

// The catalogue's own reckoning on both sides of its changes: summer from the second Sunday of
// March at 02:00 of its winter clock to the first Sunday of November at 02:00 of its summer clock.
TEST(Zonas_Horarias, ElHusoDelCatalogoCambiaComoLoPublica) {
    const Huso_Catalogo juarez = Lugar_de_Codigo_Postal("32000")->Huso;
    const Huso_Catalogo tijuana = Lugar_de_Codigo_Postal("22000")->Huso;
    const auto utc = [](const Fecha_Hora& f) { return Instante_Local(f, "Etc/UTC"); };
    const struct {
        const Huso_Catalogo& huso;
        Fecha_Hora utc;
        int horas;
    } casos[] = {
        {juarez, {2026, 3, 8, 7, 59, 59}, -6},   {juarez, {2026, 3, 8, 8, 0, 0}, -7},
        {juarez, {2026, 11, 1, 8, 59, 59}, -7},  {juarez, {2026, 11, 1, 9, 0, 0}, -6},
        {tijuana, {2027, 3, 14, 9, 59, 59}, -8}, {tijuana, {2027, 3, 14, 10, 0, 0}, -7},
        {tijuana, {2027, 11, 7, 8, 59, 59}, -7}, {tijuana, {2027, 11, 7, 9, 0, 0}, -8},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Diferencia_UTC(c.huso, utc(c.utc)), c.horas * 3600) << Formato_ISO(c.utc);
    // A row may change on the last Sunday of a month, as Mexico's summer time ended until 2022.
    const Catalogo_Codigos_Postales antiguo(
        "huso|0|Centro|Abril|Primer domingo|02:00|-5|Octubre|Último domingo|02:00|-6\n"
        "codigos|01000|01000|CMX|0\nmunicipios|01000|1:010\n");
    const Huso_Catalogo centro = antiguo.Lugar("01000")->Huso;
    EXPECT_EQ(Diferencia_UTC(centro, utc({2021, 10, 31, 6, 59, 59})), -5 * 3600);
    EXPECT_EQ(Diferencia_UTC(centro, utc({2021, 10, 31, 7, 0, 0})), -6 * 3600);

    // Central time and that row part only at its March change: only a span reaching it differs.
    const Instante enero = utc({2026, 1, 1}), cambio = utc({2026, 3, 8, 8, 0, 0});
    EXPECT_FALSE(Relojes_Difieren({"America/Mexico_City", juarez}, enero, cambio - 1));
    EXPECT_TRUE(Relojes_Difieren({"America/Mexico_City", juarez}, enero, cambio));
}

TEST(Zonas_Horarias, UnTextoMalFormadoSeRechazaNombrandoLaLinea) {
    const std::string estado = "estado|AGU|Aguascalientes|America/Mexico_City\n";
    EXPECT_EQ(Leer_Zonas_Horarias("# nada\n\n" + estado + "prefijos|20|AGU\n").Prefijos.size(), 1u);
    for (const auto& [texto, falla] : std::vector<std::pair<std::string, std::string>>{
             {estado + "prefijos|2|AGU\n", "línea 2: "},
             {estado + "prefijos|21-20|AGU\n", "línea 2: rango de prefijos al revés: 21-20"},
             {estado + "prefijos|20|AGU\nprefijos|20|AGU\n", "línea 3: prefijo repetido: 20"},
             {"prefijos|20|AGU\n", "línea 1: "},
             {estado + "municipios|AGU|01|America/Mexico_City\n", "línea 2: "},
             {estado + estado, "línea 2: "},
             {estado + "estado|BCN||America/Tijuana\n", "línea 2: "}}) {
        try {
            Leer_Zonas_Horarias(texto);
            ADD_FAILURE() << texto;
        } catch (const Error_Zonas_Horarias& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with("Zonas horarias, " + falla)) << e.what();
        }
    }
    for (const char* texto : {"huso|0|Centro|Marzo|||-5||||-6\n", "codigos|01000|00999|CMX|0\n",
                              "codigos|01000|01000|CMX|0\n",
                              "huso|0|Centro||||-6||||-6\n"
                              "codigos|01000|01001|CMX|0\nmunicipios|01000|3:010\n"})
        EXPECT_THROW(Catalogo_Codigos_Postales{texto}, Error_Codigos_Postales) << texto;
    try {  // what was wrong, as written
        Catalogo_Codigos_Postales{"huso|0|Centro|Abril|Primer|2:00|-5||||-6\n"};
        ADD_FAILURE();
    } catch (const Error_Codigos_Postales& e) {
        EXPECT_TRUE(Contiene(e.what(), "cambio de horario inválido: Abril Primer 2:00"));
    }
}

// Only tzdata's own names reach it: never a path, nor an offset Qt would read by itself.
TEST(Zonas_Horarias, SoloNombresDeLaBaseDeZonasDelSistema) {
    for (const char* conocida : {"America/Tijuana", "America/Ciudad_Juarez", "Etc/UTC"})
        EXPECT_TRUE(Es_Zona_Conocida(conocida)) << conocida;
    for (const char* desconocida :
         {"", "America/Guadalajara", "../../../etc/passwd", "/usr/share/zoneinfo/Etc/UTC",
          "America//Tijuana", "America/", "UTC-06:00", "UTC-6", "America/Tijuana "})
        EXPECT_FALSE(Es_Zona_Conocida(desconocida)) << '"' << desconocida << '"';
    EXPECT_THROW(Hora_Local(0, "UTC-6"), std::invalid_argument);
}

}  // namespace
}  // namespace facturador::pruebas

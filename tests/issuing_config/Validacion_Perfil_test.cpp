// The branch's fiscal data as the tax authority validates them, and the catalogues they rely on.

#include <gtest/gtest.h>

#include "issuing_config/Catalogos_CFDI.h"
#include "issuing_config/Regimen_Societario.h"
#include "issuing_config/Serie_Facturas.h"
#include "issuing_config/Validacion_Perfil.h"

namespace facturador::pruebas {
namespace {

// A profile of the demo's issuer, with what a case changes of it.
Datos_Emision Perfil(const char* rfc, const char* razon_social, const char* regimen = "601",
                     const char* cp = "06000", const char* serie = "A") {
    Datos_Emision d;
    d.RFC_Emisor = rfc;
    d.Razon_Social_Emisor = razon_social;
    d.Regimen_Fiscal_Facturas = regimen;
    d.CP_Domicilio_Expedicion = cp;
    d.Serie_Facturas = serie;
    return d;
}

constexpr const char* kRFC = "ALT150312AB1";
constexpr const char* kNombre = "ANTOJERIA LOS TULIPANES";
constexpr const char* kSerie = kMotivo_Serie_Invalida;

TEST(Validacion_Perfil, CadaReglaDelEmisorPasaYFallaEnSuOrden) {
    const std::string kCP =
        "C.P. del Domicilio de Expedición no existe en el catálogo c_CodigoPostal del SAT: ";
    const std::pair<Datos_Emision, std::string> casos[] = {
        {Perfil(kRFC, kNombre), ""},
        {Perfil("\u00A0alt150312ab1 ", "\tANTOJERIA  LOS TULIPANES", " 601", "06000\u3000"), ""},
        {Perfil("RALJ900215QW1", "Julia Ramírez De Sa", "612", "22000", ""), ""},
        {Perfil(kRFC, kNombre, "626", "99999", "ABCDEFGHIJKLMNOPQRSTUVWXY"), ""},

        {Perfil("ALT150312AB", kNombre), "R.F.C. del emisor con formato inválido: ALT150312AB"},
        {Perfil("XAXX010101000", kNombre),
         "R.F.C. del emisor no puede ser el genérico XAXX010101000"},
        {Perfil(kRFC, " "), "Razón Social del emisor en blanco"},
        {Perfil(kRFC, "ANTOJERIA LOS TULIPANES, S.A. de C.V."),
         "Razón Social del emisor con el régimen societario S.A. DE C.V., que en CFDI 4.0 se "
         "omite: ANTOJERIA LOS TULIPANES, S.A. de C.V."},
        {Perfil(kRFC, kNombre, "612"),
         "Régimen Fiscal 612 del emisor no aplica a persona moral (RFC ALT150312AB1)"},
        {Perfil(kRFC, kNombre, "General de Ley"),
         "Régimen Fiscal del emisor no existe en el catálogo: GENERAL DE LEY"},
        {Perfil(kRFC, kNombre, "601", "17000"), kCP + "17000"},
        {Perfil(kRFC, kNombre, "601", "28470"), kCP + "28470"},
        {Perfil(kRFC, kNombre, "601", "6000"), kCP + "6000"},
        {Perfil(kRFC, kNombre, "601", "06000", "P*Q"), kSerie},
        {Perfil(kRFC, kNombre, "601", "06000", "A|B"), kSerie},
        {Perfil(kRFC, kNombre, "601", "06000", "A:B"), kSerie},
        {Perfil(kRFC, kNombre, "601", "06000", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"), kSerie},
    };
    for (const auto& [perfil, motivo] : casos)
        EXPECT_EQ(Motivo_Perfil_Invalido(perfil).value_or(""), motivo)
            << perfil.RFC_Emisor << " / " << perfil.Razon_Social_Emisor;
}

// The company types as the register writes them, abbreviated and spelled out, each found whole.
TEST(Regimen_Societario, LasFormasDelRegistroAbreviadasYCompletas) {
    const std::pair<const char*, const char*> casos[] = {
        {"AGRICOLA DEL VALLE SPR DE RL DE CV", "S.P.R. DE R.L. DE C.V."},
        {"AGRICOLA DEL VALLE SOCIEDAD DE PRODUCCION RURAL DE RESPONSABILIDAD LIMITADA DE CAPITAL "
         "VARIABLE",
         "SOCIEDAD DE PRODUCCION RURAL DE RESPONSABILIDAD LIMITADA DE CAPITAL VARIABLE"},
        {"TALLER ROSAS S DE RL MI", "S. DE R.L. MI"},
        {"Taller Rosas Sociedad de Responsabilidad Limitada Microindustria",
         "SOCIEDAD DE RESPONSABILIDAD LIMITADA MICROINDUSTRIA"},
        {"PESCADORES DEL GOLFO SC DE RL", "S.C. DE R.L."},
        {"PESCADORES DEL GOLFO SOCIEDAD COOPERATIVA DE RESPONSABILIDAD LIMITADA",
         "SOCIEDAD COOPERATIVA DE RESPONSABILIDAD LIMITADA"},
        {"CAJA POPULAR SCL", "S.C.L."},
        {"CAJA POPULAR SOCIEDAD COOPERATIVA LIMITADA", "SOCIEDAD COOPERATIVA LIMITADA"},
        {"EJIDATARIOS UNIDOS S DE SS", "S. DE S.S."},
        {"EJIDATARIOS UNIDOS SOCIEDAD DE SOLIDARIDAD SOCIAL", "SOCIEDAD DE SOLIDARIDAD SOCIAL"},
        {"IGLESIA DEL CENTRO AR", "A.R."},
        {"Iglesia del Centro, Asociación Religiosa", "ASOCIACION RELIGIOSA"},
    };
    for (const auto& [nombre, forma] : casos)
        EXPECT_EQ(Regimen_Societario_Final(nombre).value_or(""), forma) << nombre;
    for (const char* sin_forma : {"ALTAR", "TALLER MI", "DISCL"})
        EXPECT_FALSE(Regimen_Societario_Final(sin_forma)) << sin_forma;
}

// The compiled-in catalogues read whole (none of their entries lost); a malformed text is refused,
// naming the line.
TEST(Catalogos_CFDI, ElCatalogoIncrustadoSeLeeYUnTextoMalFormadoSeRechaza) {
    const Catalogos_CFDI& cat = Catalogos_CFDI_Vigentes();
    EXPECT_EQ(cat.Regimenes.size(), 19u);
    EXPECT_EQ(cat.Usos.size(), 24u);
    EXPECT_EQ(cat.Formas_Pago.size(), 22u);

    const std::string regimen = "regimen|616|Sin obligaciones fiscales|si|no\n";
    for (const auto& [texto, linea] : std::vector<std::pair<std::string, std::string>>{
             {regimen + "uso|S01|Sin efectos fiscales.|si|si|616 699\n", "línea 2"},
             {"# c_RegimenFiscal\n" + regimen + regimen, "línea 3"},
             {regimen, "línea 1"},
             {"", "línea 0"},
             {regimen + "uso|S01|Sin efectos.|si|si|616\nforma_pago|01\n", "línea 3"},
             {regimen + "uso|S01|Sin efectos.|si|si|616\nforma_pago|0-1|Efectivo\n", "línea 3"},
             {regimen + "uso|S01|Sin efectos.|si|si|616\nforma_pago|01|Efectivo\n"
                        "forma_pago|01|Efectivo\n",
              "línea 4"},
         }) {
        SCOPED_TRACE(texto);
        try {
            Leer_Catalogos_CFDI(texto);
            ADD_FAILURE() << "accepted";
        } catch (const Error_Catalogo_CFDI& e) {
            EXPECT_NE(std::string(e.what()).find(linea), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace facturador::pruebas

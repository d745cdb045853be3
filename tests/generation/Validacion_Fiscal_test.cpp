#include "Siembra_Central.h"
#include "generation/Catalogos_CFDI.h"

namespace facturador::pruebas {
namespace {

// A request of ticket 4711 at branch 3 (place of issue 53100): what it changes of the default
// person's request (RFC RALJ900215QW1, regime 612, use G03, postal code 44100), and the reason it
// is refused with, or "" when it goes to stamping.
struct Caso {
    int id;
    Columnas cambios;
    std::string motivo;
};

Columnas Receptor(const std::string& rfc, const std::string& nombre, const std::string& regimen,
                  const std::string& uso, const std::string& cp = "44100") {
    return {{"RFC", Literal(rfc)},
            {"Nombre", Literal(nombre)},
            {"Regimen_Fiscal", Literal(regimen)},
            {"Uso", Literal(uso)},
            {"Codigo_Postal", Literal(cp)}};
}

const std::string kPublico = "PUBLICO EN GENERAL";

const std::vector<Caso> kCasos = {
    {10, {}, ""},
    // Padded and in lower case, ñ included; the file keeps the values as they came.
    {11, Receptor(" nuñe850101ab1 ", "  josé nuñez estrada ", " 612 ", " g03 ", " 44100 "), ""},
    {12, Receptor("M&A080808QR5", "MANUFACTURAS M&A", "601", "G03"), ""},
    {13, Receptor("XAXX010101000", kPublico, "616", "S01", "53100"), ""},
    {14, Receptor("XEXX010101000", "JOHN SMITH", "616", "S01", "53100"), ""},
    // "SOSA" does not end in the company type S.A.
    {15, Receptor("MESL781103AB7", "LUCIA MENDOZA SOSA", "626", "G03"), ""},

    {20, Receptor("ABC123", "JULIA RAMIREZ", "612", "G03"),
     "RFC del receptor con formato inválido: ABC123"},
    {21, Receptor("RALJ900230QW1", "JULIA RAMIREZ", "612", "G03"),
     "RFC del receptor con formato inválido: RALJ900230QW1"},
    {22, Receptor("RALJ900215QÑ1", "JULIA RAMIREZ", "612", "G03"),
     "RFC del receptor con formato inválido: RALJ900215QÑ1"},
    {23, {{"Nombre", "'   '"}}, "Nombre del receptor vacío"},
    {24, {{"Codigo_Postal", "'4410'"}}, "Código postal del receptor con formato inválido: 4410"},
    {25,
     {{"Regimen_Fiscal", "'609'"}},
     "Régimen fiscal del receptor no existe en el catálogo: 609"},
    {26, Receptor("SIV120704TR6", "SERVICIOS INTEGRALES DEL VALLE", "612", "G03"),
     "Régimen fiscal 612 del receptor no aplica a persona moral (RFC SIV120704TR6)"},
    {27,
     {{"Regimen_Fiscal", "'601'"}},
     "Régimen fiscal 601 del receptor no aplica a persona física (RFC RALJ900215QW1)"},
    {28, {{"Uso", "'P01'"}}, "Uso de CFDI del receptor no existe en el catálogo: P01"},
    {29, Receptor("SIV120704TR6", "SERVICIOS INTEGRALES DEL VALLE", "601", "D01"),
     "Uso de CFDI D01 no aplica a persona moral (RFC SIV120704TR6)"},
    {30,
     {{"Regimen_Fiscal", "'616'"}},
     "Uso de CFDI G03 no aplica al régimen fiscal 616 del receptor"},
    {31, Receptor("XAXX010101000", "JUAN PEREZ", "616", "S01", "53100"),
     "Nombre del receptor con RFC XAXX010101000 debe ser PUBLICO EN GENERAL: JUAN PEREZ"},
    {32, Receptor("XAXX010101000", kPublico, "612", "S01", "53100"),
     "Régimen fiscal del receptor con RFC XAXX010101000 debe ser 616: 612"},
    {33, Receptor("XAXX010101000", kPublico, "616", "G03", "53100"),
     "Uso de CFDI del receptor con RFC XAXX010101000 debe ser S01: G03"},
    {34, Receptor("XAXX010101000", kPublico, "616", "S01", "44100"),
     "Código postal del receptor con RFC XAXX010101000 debe ser el del lugar de expedición "
     "53100: 44100"},
    {36, Receptor("SIV120704TR6", "Servicios Integrales del Valle, S.A. de C.V.", "601", "G03"),
     "Nombre del receptor con el régimen societario S.A. DE C.V., que en CFDI 4.0 se omite: "
     "SERVICIOS INTEGRALES DEL VALLE, S.A. DE C.V."},
    {37, Receptor("CBN080521KP3", "COMERCIALIZADORA BAJIO NORTE S DE RL", "601", "G03"),
     "Nombre del receptor con el régimen societario S. DE R.L., que en CFDI 4.0 se omite: "
     "COMERCIALIZADORA BAJIO NORTE S DE RL"},
    // Reactivated after an earlier rejection: it goes back to 4 keeping its series and folio.
    {40,
     {{"Serie", "'A'"}, {"Folio", "1432"}, {"ID_Factura", "-5"}, {"Codigo_Postal", "'441OO'"}},
     "Código postal del receptor con formato inválido: 441OO"},
};

class Validacion_Fiscal : public Prueba_Central {};

TEST_F(Validacion_Fiscal, RechazaConElPrimerMotivoAntesDeTomarFolioYDejaPasarLoValido) {
    Sembrar_Sucursal(3, "Centro");
    Sembrar_Ticket(4711, 3, "100000");
    Ejecutar_Central(
        "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, ID_Sucursal, Status) VALUES "
        "(-5, 'A', 1432, 3, 1)");
    for (const Caso& caso : kCasos)
        Sembrar_Solicitud(caso.id, caso.cambios);
    Cargar_Datos();
    Ejecutar_Pase();

    const std::string log = Leer_Log();
    int validas = 0;
    for (const Caso& caso : kCasos) {
        SCOPED_TRACE(caso.id);
        const std::string id = std::to_string(caso.id);
        if (caso.motivo.empty()) {
            EXPECT_EQ(Solicitud(caso.id, "Status"), "2");
            ++validas;
            continue;
        }
        EXPECT_EQ(Solicitud(caso.id, "CONCAT(Status, '|', Resultado)"), "4|" + caso.motivo);
        EXPECT_NE(log.find("Solicitud ID: " + id + " - 4711 - " + caso.motivo + "\r\n"),
                  std::string::npos);
    }
    EXPECT_EQ(Valor_Central("SELECT GROUP_CONCAT(ID) FROM Solicitudes_de_Facturas_OL WHERE Status "
                            "= 4 AND (Serie <> '' OR Folio <> 0 OR ID_Factura <> 0)"),
              "40");
    EXPECT_EQ(Solicitud(40, "CONCAT_WS('/', Serie, Folio, ID_Factura)"), "A/1432/-5");
    EXPECT_EQ(Facturas(), std::to_string(validas + 1));
    EXPECT_EQ(Folio_Siguiente(3), std::to_string(1500 + validas));
    EXPECT_TRUE(entorno.operador.mostrados.empty());
}

// The catalogues compiled into the program read whole and hold what the rules rely on; a text
// out of its format is refused, naming the line.
TEST(Catalogos_CFDI, ElCatalogoIncrustadoSeLeeYUnTextoMalFormadoSeRechaza) {
    // What each entry says the cases above read; here, that none was lost.
    const Catalogos_CFDI& cat = Catalogos_CFDI_Vigentes();
    EXPECT_EQ(cat.Regimenes.size(), 19u);
    EXPECT_EQ(cat.Usos.size(), 24u);

    const std::string regimen = "regimen|616|Sin obligaciones fiscales|si|no\n";
    for (const auto& [texto, linea] : std::vector<std::pair<std::string, std::string>>{
             {regimen + "uso|S01|Sin efectos fiscales.|si|si|616 699\n", "línea 2"},
             {"# c_RegimenFiscal\n" + regimen + regimen, "línea 3"},
             {regimen, "línea 1"},
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

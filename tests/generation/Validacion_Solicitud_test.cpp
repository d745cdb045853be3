// What a pending request goes through before it takes a folio: its loading, the ticket's amount,
// the receiver's fiscal data and its branch's profile, and the formats and dates of its file.

#include "Siembra_Central.h"
#include "data/Formatos_Importe.h"
#include "generation/Archivo_Timbrar.h"
#include "generation/Validacion_Fiscal.h"
#include "generation/Validacion_Ticket.h"

namespace facturador::pruebas {
namespace {

class Validacion_Ticket : public Prueba_Central {
  protected:
    Validacion_Ticket() {
        Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (3, 'Centro')");
        Cargar_Sucursales();
    }
    static void Sembrar_Monto(int ticket, const std::string& total, int status) {
        Ejecutar_Central(
            "INSERT INTO Montos_Facturados (Nro_Ticket, ID_Sucursal, Total, Status) VALUES (" +
            std::to_string(ticket) + ", 3, " + total + ", " + std::to_string(status) + ")");
    }
    // "aceptada", or the reason.
    static std::string Validar(int ticket, double monto) {
        std::string motivo = "sin tocar";
        const bool ok = En_Central(
            [&](Conexion& c) { return Validar_Monto_Ticket(c, ticket, 3, monto, motivo); });
        EXPECT_EQ(ok, motivo.empty());
        return ok ? "aceptada" : motivo;
    }
};

TEST_F(Validacion_Ticket, LasTresFormasDelMotivoYLoEnCaminoMedidoAparte) {
    Sembrar_Ticket(501, 3, "NULL");
    Sembrar_Ticket(500, 4, "300");  // same number, another branch
    EXPECT_EQ(Validar(500, 10), "El Ticket Nro: 500  (Sucursal: Centro) NO existe");
    EXPECT_EQ(Validar(501, 10), "El Ticket Nro: 501  (Sucursal: Centro) NO existe");

    Sembrar_Ticket(1, 3, "300");
    EXPECT_EQ(Validar(1, 300), "aceptada");  // equality passes
    EXPECT_EQ(Validar(1, 350),
              "El Monto de la Solicitud ($ 350.00) Excede al monto del Ticket Nro: 1  (Sucursal: "
              "Centro) ($ 300.00)");
    Sembrar_Monto(1, "300", 1);  // void: does not count
    EXPECT_EQ(Validar(1, 300), "aceptada");
    Sembrar_Monto(1, "300", 0);
    EXPECT_EQ(Validar(1, 0.01),
              "El Ticket Nro: 1  (Sucursal: Centro) Ya fue Facturado Completamente.");

    Sembrar_Ticket(2, 3, "1500");
    Sembrar_Monto(2, "1000", 0);
    EXPECT_EQ(Validar(2, 500), "aceptada");
    EXPECT_EQ(Validar(2, 600),
              "El Monto de la Solicitud ($ 600.00) + El Monto Ya Facturado ($ 1,000.00)  Excede al "
              "monto del Ticket Nro: 2  (Sucursal: Centro) ($ 1,500.00)");

    // Requests on their way (status 2, not the rejected 4) are measured apart from the invoiced.
    Sembrar_Ticket(4711, 3, "300");
    Ejecutar_Central("UPDATE Tickets SET Cancelado = 1");  // does not change the verdict
    Sembrar_Solicitud(1, {{"Status", "2"}, {"Total", "200"}});
    Sembrar_Solicitud(2, {{"Status", "4"}, {"Total", "300"}});
    EXPECT_EQ(Validar(4711, 100), "aceptada");
    EXPECT_EQ(Validar(4711, 150),
              "El Monto de la Solicitud ($ 150.00) + El Monto Ya Facturado ($ 200.00)  Excede al "
              "monto del Ticket Nro: 4711  (Sucursal: Centro) ($ 300.00)");
    // The two sums are not added: with 150 invoiced and 150 on its way, another 150 fits each
    // of them, though not the three together.
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Total = 150 WHERE ID = 1");
    Sembrar_Monto(4711, "150", 0);
    EXPECT_EQ(Validar(4711, 150), "aceptada");
}

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
    // SQL takes the shortest decimal.
    EXPECT_EQ(Formato_Importe_SQL(150.5), "150.5");
    EXPECT_EQ(Formato_Importe_SQL(116), "116");
    EXPECT_EQ(Formato_Importe_SQL(0.1 + 0.2), "0.3");
    EXPECT_EQ(Formato_Importe_SQL(-0.0), "0");
}

// The receiver's data as a request brings them (the place of issue is 53100), and the reason the
// check refuses them with, or "" when they go to stamping.
struct Caso_Receptor {
    Datos_Fiscales_Receptor datos;
    std::string motivo;
};

Datos_Fiscales_Receptor R(const std::string& rfc, const std::string& nombre,
                          const char* regimen = "612", const char* uso = "G03",
                          const char* cp = "44100", const char* forma = "01", double total = 116) {
    return {rfc, nombre, cp, regimen, uso, "53100", forma, total};
}

constexpr const char* kPersona = "RALJ900215QW1";
constexpr const char* kEmpresa = "SIV120704TR6";
constexpr const char* kXAXX = "XAXX010101000";
constexpr const char* kXEXX = "XEXX010101000";
const std::string kLargo(280, 'X');
const std::string kSociedad = "Nombre del receptor con el régimen societario ";
const std::string kSe_Omite = ", que en CFDI 4.0 se omite: ";
const std::string kNo_Timbrable = "Nombre del receptor con caracteres que no se pueden timbrar: ";
const std::string kCP_Invalido = "Código postal del receptor con formato inválido: ";
const std::string kForma_Pago = "Forma de pago de la solicitud no existe en el catálogo: ";
const std::string kNo_Importe = "Total de la solicitud no es un importe que se pueda timbrar: ";

const Caso_Receptor kCasos[] = {
    {R(kPersona, "JULIA RAMIREZ LOPEZ"), ""},
    // Blanks of every kind around the codes, lower case, decomposed accents, runs of blanks.
    {R("\u00A0RALJ900215QW1\t", "Julia\u3000 Ramírez", " 612 ", "\tg03", " 44100\u200B", "01\r\n"),
     ""},
    {R("nun\u0303e850101ab1", "Mari\u0301a De Sa"), ""},  // a person: "De Sa" is no S.A.
    {R("M&A080808QR5", "MANUFACTURAS M&A", "601"), ""},
    {R("CLR120704TRA", "COMERCIAL LA ROSA", "601"), ""},  // "ROSA" is no S.A.; check digit "A"
    {R(kXAXX, "Juan Pérez", "616", "S01", "53100", "99"), ""},
    {R(kXEXX, "Telefonica S.A.", "616", "S01", "53100"), ""},  // a foreigner
    {R(kPersona, "JULIA RAMIREZ", "612", "G03", "01000"), ""},
    {R("RALJ000229QW1", "JULIA"), ""},  // born on 29 February 2000

    {R("DJA150311QWZ", "DISTRIBUIDORA JALISCO", "601"),
     "RFC del receptor con formato inválido: DJA150311QWZ"},
    {R("RALJ900230QW1", "JULIA"), "RFC del receptor con formato inválido: RALJ900230QW1"},
    {R("RALJ900215QÑ1", "JULIA"), "RFC del receptor con formato inválido: RALJ900215QÑ1"},
    {R(kPersona, " \t\u00A0"), "Nombre del receptor en blanco"},
    {R(kPersona, "Łukasz Nowak"), kNo_Timbrable + "Łukasz Nowak"},
    {R(kPersona, "JULIA | RAMIREZ"), kNo_Timbrable + "JULIA | RAMIREZ"},
    {R(kXAXX, " publico  en general ", "616", "S01", "53100"),
     "Nombre del receptor PUBLICO EN GENERAL es solo para la factura global (con "
     "InformacionGlobal), que este programa no emite: con RFC XAXX010101000 va el nombre del "
     "cliente"},
    {R(kPersona, "Pu\u0301blico en General"),
     "Nombre del receptor PUBLICO EN GENERAL es solo para la factura global, con RFC "
     "XAXX010101000: RALJ900215QW1"},
    {R(kXAXX, "Juan Pérez", "612", "S01", "53100"),
     "Régimen fiscal del receptor con RFC XAXX010101000 debe ser 616: 612"},
    {R(kXAXX, "Juan Pérez", "616", "G03", "53100"),
     "Uso de CFDI del receptor con RFC XAXX010101000 debe ser S01: G03"},
    {R(kXEXX, "John Smith", "616", "S01", "4410"),
     "Código postal del receptor con RFC XEXX010101000 debe ser el del lugar de expedición "
     "53100: 4410"},
    {R(kPersona, "JULIA", "612", "G03", "4410O"), kCP_Invalido + "4410O"},
    {R(kPersona, "JULIA", "612", "G03", "00999"), kCP_Invalido + "00999"},
    {R(kPersona, "JULIA", "612", "G03", "17000"),
     "Código postal del receptor no existe en el catálogo c_CodigoPostal del SAT: 17000"},
    {R(kPersona, "JULIA", "612", "G03", "28470"),
     "Código postal del receptor no existe en el catálogo c_CodigoPostal del SAT: 28470"},
    {R(kPersona, "JULIA", "609"), "Régimen fiscal del receptor no existe en el catálogo: 609"},
    {R(kPersona, "JULIA", " "), "Régimen fiscal del receptor no existe en el catálogo: (vacío)"},
    {R(kEmpresa, "SERVICIOS INTEGRALES DEL VALLE", "612"),
     "Régimen fiscal 612 del receptor no aplica a persona moral (RFC SIV120704TR6)"},
    {R(kPersona, "JULIA", "601"),
     "Régimen fiscal 601 del receptor no aplica a persona física (RFC RALJ900215QW1)"},
    {R(kPersona, "JULIA", "612", "P01"), "Uso de CFDI del receptor no existe en el catálogo: P01"},
    {R(kEmpresa, "SERVICIOS INTEGRALES DEL VALLE", "601", "D01"),
     "Uso de CFDI D01 no aplica a persona moral (RFC SIV120704TR6)"},
    {R(kPersona, "JULIA", "616", "G03"),
     "Uso de CFDI G03 no aplica al régimen fiscal 616 del receptor"},
    {R(kPersona, "JULIA", "612", "G03", "44100", "07"), kForma_Pago + "07"},
    {R(kPersona, "JULIA", "612", "G03", "44100", "1"), kForma_Pago + "1"},
    {R(kPersona, "JULIA", "612", "G03", "44100", "99"), ""},
    {R(kPersona, "JULIA", "612", "G03", "44100", "01", 0.01), ""},
    {R(kPersona, "JULIA", "612", "G03", "44100", "01", 0.1 + 0.2), ""},
    {R(kPersona, "JULIA", "612", "G03", "44100", "01", 4.725),
     "Total de la solicitud tiene más de dos decimales, que la moneda MXN no admite: 4.725"},
    {R(kPersona, "JULIA", "612", "G03", "44100", "01", 0.001), kNo_Importe + "0.00"},
    {R(kPersona, "JULIA", "612", "G03", "44100", "01", -116), kNo_Importe + "-116.00"},
    {R(kPersona, "JULIA", "612", "G03", "44100", "01", 1e18),
     kNo_Importe + "1000000000000000000.00"},
    {R(kEmpresa, "Servicios Integrales del Valle, S.A. de C.V.", "601"),
     kSociedad + "S.A. DE C.V." + kSe_Omite + "Servicios Integrales del Valle, S.A. de C.V."},
    {R(kEmpresa, "VALLE SOCIEDAD ANÓNIMA PROMOTORA DE INVERSIÓN DE CAPITAL VARIABLE", "601"),
     kSociedad + "SOCIEDAD ANONIMA PROMOTORA DE INVERSION DE CAPITAL VARIABLE" + kSe_Omite +
         "VALLE SOCIEDAD ANÓNIMA PROMOTORA DE INVERSIÓN DE C…"},
    {R("CBN080521KP3", "COMERCIALIZADORA BAJIO NORTE S DE RL", "601"),
     kSociedad + "S. DE R.L." + kSe_Omite + "COMERCIALIZADORA BAJIO NORTE S DE RL"},
    {R("FBA080521KP3", "FINANCIERA BAJIO SA DE CV SOFOM ENR", "601"),
     kSociedad + "SOFOM E.N.R." + kSe_Omite + "FINANCIERA BAJIO SA DE CV SOFOM ENR"},
    {R("PLA080521KP3", "PLATAFORMAS S.A.S.", "601"),
     kSociedad + "S.A.S." + kSe_Omite + "PLATAFORMAS S.A.S."},
    {R(kEmpresa, "S. A.", "601"), kSociedad + "S.A." + kSe_Omite + "S. A."},  // the whole name
    {R(kEmpresa, kLargo + " S.A.", "601"),
     kSociedad + "S.A." + kSe_Omite + kLargo.substr(0, 50) + "…"},
};

// Each rule passes and fails in turn, the first failing gives the reason, whole within 199 chars.
TEST(Validacion_Fiscal, CadaReglaDelReceptorPasaYFallaEnSuOrden) {
    for (const Caso_Receptor& caso : kCasos) {
        SCOPED_TRACE(caso.datos.RFC + " / " + caso.datos.Nombre);
        EXPECT_EQ(Motivo_Rechazo_Fiscal(caso.datos).value_or(""), caso.motivo);
        EXPECT_LE(Contar_Caracteres(caso.motivo), 199u);
    }
}

// The file carries the values as the check read them: codes trimmed of every blank, composed, in
// upper case; names trimmed, one blank between words, letters as typed; the issuer's alike.
TEST(Validacion_Fiscal, ElArchivoLlevaLosValoresComoSeVerificaron) {
    Solicitud_Factura s;
    s.RFC = "\u00A0nun\u0303e850101ab1\t";
    s.Nombre = "  jose\u0301 \u3000nuñez ";
    s.Regimen_Fiscal = " 612 ";
    s.Uso = " g03 ";
    s.Codigo_Postal = "\u200B44100 ";
    s.Metodo = " 04\r\n";
    s.Total = 116;
    Datos_Emision e;
    e.RFC_Emisor = " alt150312ab1\u00A0";
    e.Razon_Social_Emisor = "\tAntojería  Los Tulipanes ";
    e.Regimen_Fiscal_Facturas = "601 ";
    e.CP_Domicilio_Expedicion = " 53100";
    EXPECT_FALSE(Motivo_Rechazo_Fiscal(Datos_Fiscales_de(s, e.CP_Domicilio_Expedicion)));
    const std::string texto =
        A_Windows_1252(Texto_para_Timbrar(s, e, "A", 7, "2026-12-05T10:15:40"));
    for (const char* linea : {"FormaPago=04", "LugarExpedicion=53100", "Rfc=ALT150312AB1",
                              "Nombre=Antojer\xED"
                              "a Los Tulipanes",
                              "RegimenFiscal=601",
                              "Rfc=NU\xD1"
                              "E850101AB1",
                              "Nombre=jos\xE9 nu\xF1"
                              "ez",
                              "CodigoPostal=44100", "DomicilioFiscalReceptor=44100",
                              "RegimenFiscalReceptor=612", "UsoCFDI=G03"})
        EXPECT_TRUE(Contiene(texto, std::string("\r\n") + linea + "\r\n")) << linea;
}

class Validacion_Fiscal_Pase : public Prueba_Central {};

// In the pass a refused receiver is rejected before taking a folio (a reactivated one keeps its).
TEST_F(Validacion_Fiscal_Pase, RechazaAntesDeTomarFolioYDejaPasarLoValido) {
    Sembrar_Sucursal(3, "Centro");
    Sembrar_Ticket(4711, 3, "100000");
    Ejecutar_Central(
        "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, ID_Sucursal, Status) VALUES "
        "(-5, 'A', 1432, 3, 1)");
    const std::string publico =
        "Nombre del receptor PUBLICO EN GENERAL es solo para la factura global";
    Sembrar_Solicitud(10, {{"Nombre", "'  Juan   Pérez '"},
                           {"RFC", "'xaxx010101000'"},
                           {"Regimen_Fiscal", "'616'"},
                           {"Uso", "'S01'"},
                           {"Codigo_Postal", "'53100'"}});
    Sembrar_Solicitud(11, {{"Nombre", "'PUBLICO EN GENERAL'"}});
    Sembrar_Solicitud(
        12, {{"Serie", "'A'"}, {"Folio", "1432"}, {"ID_Factura", "-5"}, {"Metodo", "'ZZ'"}});
    Cargar_Datos();
    Ejecutar_Pase();

    EXPECT_EQ(Solicitud(10, "CONCAT(Status, Folio)"), "21500");
    EXPECT_TRUE(Solicitud(11, "CONCAT(Status, '|', Resultado)").starts_with("4|" + publico));
    EXPECT_EQ(Solicitud(12, "CONCAT_WS('|', Status, Resultado, Serie, Folio, ID_Factura)"),
              "4|Forma de pago de la solicitud no existe en el catálogo: ZZ|A|1432|-5");
    EXPECT_TRUE(Una_Vez(Leer_Log(), "Solicitud ID: 11 - 4711 - " + publico));
    EXPECT_EQ(Facturas(), "2");
    EXPECT_EQ(Folio_Siguiente(3), "1501");
}

// A branch whose profile the tax authority would refuse spends no folio: its requests wait in 1,
// each reason logged once when found and once when cleared; the other branches issue as always.
TEST_F(Validacion_Fiscal_Pase, UnPerfilConFallaDejaEsperarASuSucursalSinGastarFolio) {
    Sembrar_Sucursal(3, "Centro");
    Sembrar_Sucursal(4, "Norte", "P*Q");
    for (int sucursal : {3, 4}) {
        Sembrar_Ticket(4711, sucursal, "1000");
        Sembrar_Solicitud(sucursal, {{"ID_Sucursal", std::to_string(sucursal)}});
    }
    const auto perfil_norte = [](const std::string& asignacion) {
        Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET " + asignacion +
                         " WHERE ID_Sucursal = 4");
        Cargar_Datos_de_Emision();
    };
    Cargar_Datos();
    Ejecutar_Pase();
    Ejecutar_Pase();
    EXPECT_EQ(Estados_Solicitudes(), "2,1");
    EXPECT_EQ(Folio_Siguiente(4), "1500");
    perfil_norte("Serie_Facturas = 'B', RFC_Emisor = 'ALT150312AB'");
    Ejecutar_Pase();
    perfil_norte("RFC_Emisor = 'ALT150312AB1'");
    // A zone set by hand that its state cannot keep holds the branch the same way.
    Ejecutar_Central("INSERT INTO Zonas_Horarias_Sucursales VALUES (4, 'Europe/Madrid')");
    perfil_norte("RFC_Emisor = 'ALT150312AB1'");
    Ejecutar_Pase();
    EXPECT_EQ(Solicitud(4, "Status"), "1");
    Ejecutar_Central("DELETE FROM Zonas_Horarias_Sucursales");
    perfil_norte("RFC_Emisor = 'ALT150312AB1'");
    Ejecutar_Pase();
    Ejecutar_Pase();
    EXPECT_EQ(Solicitud(4, "CONCAT(Status, Serie, Folio)"), "2B1500");

    const std::string log = Leer_Log();
    const std::string no_se_envia =
        "Sucursal 4 (Norte): no se envía a timbrar ninguna solicitud "
        "mientras su perfil de emisión tenga este error: ";
    for (const std::string& falla :
         {std::string("La Serie de Facturas"),
          std::string("R.F.C. del emisor con formato inválido: ALT150312AB\r\n"),
          std::string("la zona horaria \"Europe/Madrid\" de Zonas_Horarias_Sucursales no es una "
                      "zona horaria de Estado de México (America/Mexico_City)\r\n")}) {
        EXPECT_EQ(Veces(log, no_se_envia + falla), 2) << falla;
        EXPECT_TRUE(Una_Vez(log, "Se resolvió: " + no_se_envia + falla)) << falla;
    }
    EXPECT_EQ(Veces(log, "Sucursal 3 (Centro)"), 0);
}

class Solicitudes_Pendientes_Carga : public Prueba_Central {
  protected:
    std::vector<int32_t> Ids() {
        Cargar_Pendientes();
        std::vector<int32_t> ids;
        for (const auto& s : Solicitudes_Pendientes())
            ids.push_back(s.ID);
        return ids;
    }
};

TEST_F(Solicitudes_Pendientes_Carga, SoloPendientesConRfcEnOrdenDeIdYConLasReglasDeCadaCampo) {
    Sembrar_Solicitud(7, {{"Metodo", "''"}, {"Folio", "125"}, {"Nombre", "' O''Brien '"}});
    Sembrar_Solicitud(3, {{"Metodo", "NULL"},
                          {"Folio", "NULL"},
                          {"Nombre", "NULL"},
                          {"ID_Sucursal", "NULL"},
                          {"Fecha", "'2026/11/29'"},
                          {"Total", "1250.75"},
                          {"Serie", "'A'"}});
    Sembrar_Solicitud(5);
    Sembrar_Solicitud(4, {{"RFC", "''"}});
    Sembrar_Solicitud(6, {{"RFC", "NULL"}});
    Sembrar_Solicitud(8, {{"Status", "2"}});
    ASSERT_EQ(Ids(), (std::vector<int32_t>{3, 5, 7}));
    const auto& s = Solicitudes_Pendientes();
    EXPECT_EQ(
        s[0].Metodo + "|" + s[0].Folio + "|" + s[0].Nombre + "|" + s[0].Fecha + "|" + s[0].Serie,
        "99|0||29/11/2026|A");
    EXPECT_EQ(s[0].ID_Sucursal, 0);
    EXPECT_EQ(s[0].Total, 1250.75);
    EXPECT_EQ(s[1].Metodo + "|" + s[1].Folio, "01|0");
    EXPECT_EQ(s[2].Metodo + "|" + s[2].Folio + "|" + s[2].Nombre, "99|125| O'Brien ");

    Vaciar_Base_Central();
    EXPECT_TRUE(Ids().empty());
}

// An incomplete row holds up no other request and is logged once, again only if broken anew.
TEST_F(Solicitudes_Pendientes_Carga, FilasIncompletasSeSaltanYSeAvisanUnaVez) {
    Sembrar_Solicitud(5, {{"Nro_Ticket", "NULL"}});
    Sembrar_Solicitud(6, {{"Total", "NULL"}});
    Sembrar_Solicitud(7, {{"Fecha", "NULL"}});
    Sembrar_Solicitud(8);
    EXPECT_EQ(Ids(), (std::vector<int32_t>{8}));
    EXPECT_EQ(Ids(), (std::vector<int32_t>{8}));
    const std::string log = Leer_Log();
    EXPECT_TRUE(
        Una_Vez(log, "Solicitud ID: 5 - No se puede procesar: Nro_Ticket vacío o no válido."));
    EXPECT_TRUE(Una_Vez(log, "Solicitud ID: 6 - No se puede procesar: Total"));
    EXPECT_TRUE(Una_Vez(log, "Solicitud ID: 7 - No se puede procesar: Fecha"));

    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Nro_Ticket = 4711 WHERE ID = 5");
    EXPECT_EQ(Ids(), (std::vector<int32_t>{5, 8}));
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Nro_Ticket = NULL WHERE ID = 5");
    Ids();
    EXPECT_EQ(Veces(Leer_Log(), "Solicitud ID: 5 - No se puede procesar"), 2);
}

}  // namespace
}  // namespace facturador::pruebas

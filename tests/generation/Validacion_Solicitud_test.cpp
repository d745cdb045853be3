// What a pending request goes through before it takes a folio: its loading, the ticket's amount,
// the receiver's fiscal data, and the formats and dates of its file.

#include "Siembra_Central.h"
#include "data/Formatos_Importe.h"
#include "data/Rechazo_Solicitud.h"
#include "issuing_config/Catalogos_CFDI.h"
#include "generation/Fecha_Factura.h"
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
        Conexion conexion;
        Abrir_Conexion_Central(conexion);
        const bool ok = Validar_Monto_Ticket(conexion, ticket, 3, monto, motivo);
        Cerrar_Conexion(conexion);
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
    // Padded and in lower case, ñ included: its file carries the codes as they were checked.
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
    const auto carpetas = Sembrar_Sucursal(3, "Centro");
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
    const std::string archivo_11 = Leer_Archivo(
        Unir_Ruta(carpetas.cola, "Factura A Folio " + Solicitud(11, "Folio") + ".txt"));
    for (const char* linea :
         {"Rfc=NU\xD1" "E850101AB1", "Nombre=  jos\xE9 nu\xF1" "ez estrada ", "CodigoPostal=44100",
          "DomicilioFiscalReceptor=44100", "RegimenFiscalReceptor=612", "UsoCFDI=G03"})
        EXPECT_NE(archivo_11.find(std::string("\r\n") + linea + "\r\n"), std::string::npos)
            << linea;
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

// A row the outside system left incomplete no longer holds up every other request, and the log
// tells about it once, not every second; once more only if it breaks again after being mended.
TEST_F(Solicitudes_Pendientes_Carga, FilasIncompletasSeSaltanYSeAvisanUnaVez) {
    Sembrar_Solicitud(5, {{"Nro_Ticket", "NULL"}});
    Sembrar_Solicitud(6, {{"Total", "NULL"}});
    Sembrar_Solicitud(7, {{"Fecha", "NULL"}});
    Sembrar_Solicitud(8);
    EXPECT_EQ(Ids(), (std::vector<int32_t>{8}));
    EXPECT_EQ(Ids(), (std::vector<int32_t>{8}));
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, "Solicitud ID: 5 - No se puede procesar: Nro_Ticket vacío o no válido."),
              1);
    EXPECT_EQ(Veces(log, "Solicitud ID: 6 - No se puede procesar: Total"), 1);
    EXPECT_EQ(Veces(log, "Solicitud ID: 7 - No se puede procesar: Fecha"), 1);

    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Nro_Ticket = 4711 WHERE ID = 5");
    EXPECT_EQ(Ids(), (std::vector<int32_t>{5, 8}));
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Nro_Ticket = NULL WHERE ID = 5");
    Ids();
    EXPECT_EQ(Veces(Leer_Log(), "Solicitud ID: 5 - No se puede procesar"), 2);
}

}  // namespace
}  // namespace facturador::pruebas

#include "generation/Validacion_Ticket.h"
#include "Siembra_Central.h"
#include "data/Formatos_Importe.h"
#include "data/Rechazo_Solicitud.h"
#include "generation/Fecha_Factura.h"

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

}  // namespace
}  // namespace facturador::pruebas

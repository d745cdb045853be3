#include "Siembra_Central.h"

namespace facturador::pruebas {
namespace {

using Pase_Avisos = Prueba_Central;

// The operator's message names the request and its last step begun: request 0 "iniciando" before
// any, the previous request's step for a rejection outside the unit, "Registrar factura".
TEST_F(Pase_Avisos, ElMensajeNombraLaSolicitudYElUltimoPasoComenzado) {
    Sembrar_Sucursal(3, "Centro", "A", 1500);
    Cargar_Datos();
    const auto ultimo_mensaje = [this] {
        const auto mostrados = entorno.operador.De_Tipo("estandar");
        return mostrados.empty() ? std::string() : mostrados.back().texto;
    };
    {
        const Tabla_Ausente solicitudes("Solicitudes_de_Facturas_OL");
        Ejecutar_Pase();
    }
    EXPECT_EQ(ultimo_mensaje(), "Error en solicitud: 0 - Ticket Nro.  - iniciando");

    for (int ticket : {4710, 4711, 4712})
        Sembrar_Ticket(ticket, 3, "116");
    Sembrar_Solicitud(10, {{"Nro_Ticket", "4710"}});
    Sembrar_Solicitud(11, {{"Nro_Ticket", "4711"}, {"Total", "200"}});  // over its ticket
    {
        const Regla_Temporal sin_rechazos("Solicitudes_de_Facturas_OL", "Status <> 4");
        Ejecutar_Pase();
    }
    EXPECT_EQ(Solicitud(10, "Status") + Solicitud(11, "Status"), "21");
    EXPECT_EQ(ultimo_mensaje(),
              "Error en solicitud: 11 - Ticket Nro. 4711 - Actualizar proximo folio a emitir");

    Sembrar_Solicitud(12, {{"Nro_Ticket", "4712"}});
    {
        const Regla_Temporal folio_vetado("Facturas_Electronicas", "folio <> 1501");
        Ejecutar_Pase();
    }
    EXPECT_EQ(ultimo_mensaje(), "Error en solicitud: 12 - Ticket Nro. 4712 - Registrar factura");
    EXPECT_EQ(Solicitud(11, "Status") + Solicitud(12, "Status"), "41");
    EXPECT_EQ(Folio_Siguiente(3), "1501");
    EXPECT_EQ(entorno.operador.De_Tipo("estandar").size(), 3u);
}

}  // namespace
}  // namespace facturador::pruebas

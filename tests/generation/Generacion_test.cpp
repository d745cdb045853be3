#include "Siembra_Central.h"
#include "generation/Rechazo.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

class Pase_Generacion : public Prueba_Central {
  protected:
    static bool En_Cola(const Carpetas_Sucursal& c, int folio) {
        return Existe_Archivo(
            Unir_Ruta(c.cola, "Factura A Folio " + std::to_string(folio) + ".txt"));
    }
    // "Status/Serie/Folio/ID_Factura" of request `id`.
    static std::string Estado(int id) {
        return Solicitud(id, "CONCAT_WS('/', Status, Serie, Folio, ID_Factura)");
    }
};

// Every value is stored and written as it came, apostrophes and backslashes included, and the
// branch's folio counter stays locked while the request's unit of work runs.
TEST_F(Pase_Generacion, SolicitudNuevaSeEncolaYSeRegistraTalCualConElContadorBloqueado) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "O'B\\", 1500);
    Sembrar_Ticket(4711, 3, "300");
    Ejecutar_Central("INSERT INTO Facturas_Electronicas (ID_Factura, Status) VALUES (-16, 2)");
    Sembrar_Solicitud(10, {{"Total", "150.5"}, {"Nombre", Literal("D'Arcy \\ Cía")}});
    Cargar_Datos();
    const auto contador_bloqueado = [] {
        try {
            Valor_Central(
                "SELECT Folio_Inicial_Facturas FROM Configuracion_Facturas_Electronicas WHERE "
                "ID_Sucursal = 3 FOR UPDATE NOWAIT");
            return false;
        } catch (const Error_Plataforma&) {
            return true;
        }
    };
    std::vector<bool> durante;
    Estado_Generacion_Actual().Mostrar_Archivo = [&](const std::string&) {
        durante.push_back(contador_bloqueado());
    };
    Ejecutar_Pase();

    EXPECT_EQ(durante, std::vector<bool>{true});
    EXPECT_FALSE(contador_bloqueado());
    const std::string archivo =
        Texto_Leido(Leer_Archivo(Unir_Ruta(carpetas.cola, "Factura O'B\\ Folio 1500.txt")));
    EXPECT_NE(archivo.find("\r\nNombre=D'Arcy \\ Cía\r\n"), std::string::npos);
    EXPECT_EQ(Estado(10), "2/O'B\\/1500/-17");
    EXPECT_EQ(Solicitud(10, "Archivo"), "Factura O'B\\ Folio 1500");
    EXPECT_EQ(Solicitud(10, "Ruta_Archivo"), Ruta_Para_BD(carpetas.validas));
    EXPECT_EQ(Folio_Siguiente(3), "1501");
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', Nro_Ticket, Fecha_Emision, Consumo, Descuento, "
                            "total, folio, serie, Status, ID_Sucursal, ID_Cliente, noCertificado, "
                            "FUM) FROM Facturas_Electronicas WHERE ID_Factura = -17"),
              "4711|2026-12-05|150.5|0|0|1500|O'B\\|1|3|0||2026-12-05");
    const std::string log = Leer_Log();
    for (const char* paso : {"inicia", "completó"})
        EXPECT_NE(log.find("Solicitud ID: 10 - Ticket Nro. 4711 - Se " + std::string(paso) +
                           " el proceso para el timbrado.\r\n"),
                  std::string::npos);
    EXPECT_TRUE(entorno.operador.mostrados.empty());
    EXPECT_TRUE(Solicitudes_Pendientes().empty());  // reloaded at the end
}

TEST_F(Pase_Generacion, RechazoConMotivoLimpioCortadoYMontosAnulados) {
    // Accents and quotes in the branch's name, so that the reason passes 199 characters.
    const std::string nombre = "Sucursal 'Ñandú' \"Norte\" " + std::string(75, 'x');
    Sembrar_Sucursal(3, nombre);
    Sembrar_Ticket(4711, 3, "1200");
    Ejecutar_Central(
        "INSERT INTO Montos_Facturados (Nro_Ticket, ID_Solicitud, ID_Sucursal, Total, Status) "
        "VALUES (4711, 10, 3, 1000, 0), (4711, 11, 3, 0, 0)");
    Sembrar_Solicitud(10, {{"Total", "350"}});
    Cargar_Datos();
    Ejecutar_Pase();

    const std::string limpio =
        "El Monto de la Solicitud ($ 350.00) + El Monto Ya Facturado ($ 1,000.00)  Excede al "
        "monto del Ticket Nro: 4711  (Sucursal: Sucursal Ñandú Norte " +
        std::string(75, 'x') + ") ($ 1,200.00)";
    EXPECT_EQ(Solicitud(10, "Status"), "4");
    EXPECT_EQ(Solicitud(10, "Resultado"), Primeros_Caracteres(limpio, 199));
    EXPECT_EQ(Solicitud(10, "CHAR_LENGTH(Resultado)"), "199");
    EXPECT_NE(Leer_Log().find("Solicitud ID: 10 - 4711 - " + limpio + "\r\n"), std::string::npos);
    EXPECT_EQ(Valor_Central("SELECT GROUP_CONCAT(Status ORDER BY ID_Solicitud) FROM "
                            "Montos_Facturados"),
              "1,0");
    EXPECT_EQ(Facturas(), "0");
    EXPECT_EQ(Folio_Siguiente(3), "1500");
}

// A request put back to pending after a rejection keeps its series, folio and invoice row, even
// when a new request of the same pass registered another invoice just before it; one with only
// a series or only a folio is new.
TEST_F(Pase_Generacion, SolicitudReactivadaReusaSuFacturaYSoloLasNuevasMuevenElFolio) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 1501);
    Sembrar_Ticket(4711, 3, "1000");
    Ejecutar_Central(
        "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, ID_Sucursal, Status) VALUES "
        "(-5, 'A', 1432, 3, 1), (-4, 'A', 1432, 4, 1)");
    Sembrar_Solicitud(9);
    Sembrar_Solicitud(10, {{"Serie", "'A'"}, {"Folio", "1432"}, {"ID_Factura", "-5"}});
    Sembrar_Solicitud(11, {{"Serie", "'A'"}, {"Folio", "1433"}});  // its row is missing
    Sembrar_Solicitud(12, {{"Serie", "'Z'"}, {"Folio", "0"}});
    Sembrar_Solicitud(13, {{"Serie", "''"}, {"Folio", "77"}});
    Cargar_Datos();
    Ejecutar_Pase();

    EXPECT_EQ(Estado(9), "2/A/1501/-6");
    EXPECT_EQ(Estado(10), "2/A/1432/-5");
    EXPECT_TRUE(En_Cola(carpetas, 1432));
    EXPECT_EQ(Estado(11), "2/A/1433/-7");
    EXPECT_EQ(Valor_Central("SELECT CONCAT(serie, folio) FROM Facturas_Electronicas WHERE "
                            "ID_Factura = -7"),
              "A1433");
    EXPECT_EQ(Estado(12), "2/A/1502/-8");
    EXPECT_EQ(Estado(13), "2/A/1503/-9");
    EXPECT_EQ(Facturas(), "6");
    EXPECT_EQ(Folio_Siguiente(3), "1504");
}

// A request that cannot reach the queue (its branch has no series or no profile, or its file
// could not be written) spends nothing: no invoice, no folio, and it stays pending.
TEST_F(Pase_Generacion, SolicitudQueNoLlegaALaColaNoGastaFolioNiRegistraFactura) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 1500, false);
    Sembrar_Sucursal(4, "Norte", "");
    Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (5, 'Sur')");
    for (int sucursal : {3, 4, 5})
        Sembrar_Ticket(4711, sucursal, "1000");
    Sembrar_Solicitud(8, {{"ID_Sucursal", "4"}});
    Sembrar_Solicitud(9, {{"ID_Sucursal", "5"}});
    Sembrar_Solicitud(10);
    Cargar_Datos();
    Ejecutar_Pase();

    const std::string log = Leer_Log();
    for (const char* caso :
         {"8 -  No se encontró la Serie y Folio de facturas para la sucursal Norte",
          "9 -  No se encontró la Serie y Folio de facturas para la sucursal Sur"})
        EXPECT_NE(log.find("ID Solicitud: " + std::string(caso) + "\r\n"), std::string::npos)
            << caso;
    const auto mostrados = entorno.operador.De_Tipo("estandar");
    ASSERT_EQ(mostrados.size(), 1u);
    EXPECT_EQ(mostrados[0].titulo, "Error creando archivo para timbrar");
    const std::string temporal = Unir_Ruta(entorno.Carpeta(), "_10_15_40_Factura A Folio 1500.txt");
    EXPECT_TRUE(mostrados[0].texto.starts_with(
        "Rutas: Validas: " + carpetas.validas + "  -  " + temporal +
        "  ---- Para timbrar: " + Unir_Ruta(carpetas.cola, "Factura A Folio 1500.txt") + "  --  "));
    EXPECT_FALSE(Existe_Archivo(temporal));
    EXPECT_NE(log.find("Error creando archivo para timbrar - " + mostrados[0].texto),
              std::string::npos);
    EXPECT_EQ(Solicitud(8, "Status") + Solicitud(9, "Status") + Solicitud(10, "Status"), "111");
    EXPECT_EQ(Facturas(), "0");
    EXPECT_EQ(Folio_Siguiente(3), "1500");
    EXPECT_EQ(Solicitudes_Pendientes().size(), 3u);

    for (const auto& carpeta : {carpetas.cola, carpetas.validas})
        std::filesystem::create_directories(carpeta);
    Ejecutar_Pase();
    EXPECT_EQ(Estado(10), "2/A/1500/-1");
    EXPECT_TRUE(En_Cola(carpetas, 1500));
    EXPECT_EQ(Folio_Siguiente(3), "1501");
}

// The third request cannot be moved to status 2 (its row is held by another writer): its unit
// is undone whole, its queued file removed, the pass stops there, and the next pass gives it the
// same folio.
TEST_F(Pase_Generacion, FallaEnUnaUnidadLaDeshaceYDetieneElPase) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 1500);
    for (int i = 0; i < 4; ++i) {
        Sembrar_Ticket(4710 + i, 3, "116");
        Sembrar_Solicitud(10 + i, {{"Nro_Ticket", std::to_string(4710 + i)}});
    }
    Cargar_Datos();
    Conexion otro;
    otro.Abrir(Cadena_Central_Pruebas());
    otro.Iniciar_Transaccion();
    otro.Ejecutar("SELECT * FROM Solicitudes_de_Facturas_OL WHERE ID = 12 FOR UPDATE");
    Conexion ciclo;
    Abrir_Conexion_Central(ciclo);
    ciclo.Ejecutar("SET SESSION innodb_lock_wait_timeout = 0");
    Generar_Archivos_para_Timbrar(ciclo);
    Cerrar_Conexion(ciclo);

    const auto mostrados = entorno.operador.De_Tipo("estandar");
    ASSERT_EQ(mostrados.size(), 1u);
    EXPECT_EQ(mostrados[0].titulo, "Error en generar archivos para timbrar");
    EXPECT_EQ(mostrados[0].texto,
              "Error en solicitud: 12 - Ticket Nro. 4712 - Actualizar status de solicitud");
    EXPECT_NE(Leer_Log().find(mostrados[0].texto + "  --  1205 - "), std::string::npos);
    EXPECT_EQ(Estado(11), "2/A/1501/-2");
    EXPECT_EQ(Solicitud(12, "Status") + Solicitud(13, "Status"), "11");
    EXPECT_EQ(Facturas(), "2");
    EXPECT_EQ(Folio_Siguiente(3), "1502");
    EXPECT_FALSE(En_Cola(carpetas, 1502));

    otro.Deshacer_Transaccion();
    otro.Cerrar();
    Ejecutar_Pase();
    EXPECT_EQ(Estado(12), "2/A/1502/-3");
    EXPECT_EQ(Estado(13), "2/A/1503/-4");
    EXPECT_EQ(Valor_Central("SELECT COUNT(DISTINCT folio) FROM Facturas_Electronicas"), "4");
    EXPECT_EQ(Folio_Siguiente(3), "1504");
}

}  // namespace
}  // namespace facturador::pruebas

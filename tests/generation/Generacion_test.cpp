#include "Siembra_Central.h"
#include "generation/Rechazo.h"
#include "platform/Error_Plataforma.h"

namespace facturador::pruebas {
namespace {

class Pase_Generacion : public Prueba_Central {
  protected:
    std::string Factura(const std::string& id, const std::string& columna) const {
        return Valor_Central("SELECT " + columna +
                             " FROM Facturas_Electronicas WHERE ID_Factura = " + id);
    }
    bool En_Cola(const Carpetas_Sucursal& c, const std::string& nombre) const {
        return Existe_Archivo(Unir_Ruta(c.cola, nombre));
    }
};

TEST_F(Pase_Generacion, SolicitudNuevaQuedaEnColaRegistradaYEnStatus2) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 1500);
    Sembrar_Ticket(4711, 3, "300");
    Ejecutar_Central("INSERT INTO Facturas_Electronicas (ID_Factura, Status) VALUES (-16, 2)");
    Sembrar_Solicitud(10, {{"Total", "150.5"}});
    Cargar_Datos();
    Ejecutar_Pase();

    EXPECT_TRUE(En_Cola(carpetas, "Factura A Folio 1500.txt"));
    EXPECT_EQ(Solicitud(10, "Status"), "2");
    EXPECT_EQ(Solicitud(10, "Serie"), "A");
    EXPECT_EQ(Solicitud(10, "Folio"), "1500");
    EXPECT_EQ(Solicitud(10, "ID_Factura"), "-17");
    EXPECT_EQ(Solicitud(10, "Archivo"), "Factura A Folio 1500");
    EXPECT_EQ(Solicitud(10, "Ruta_Archivo"), Ruta_Para_BD(carpetas.validas));
    EXPECT_EQ(Folio_Siguiente(3), "1501");
    const Recordset f = Consultar_Central(
        "SELECT Nro_Ticket, Fecha_Emision, Consumo, Descuento, total, folio, serie, Status, "
        "ID_Sucursal, ID_Cliente, noCertificado, FUM FROM Facturas_Electronicas WHERE "
        "ID_Factura = -17");
    ASSERT_FALSE(f.Fin());
    const std::vector<std::string> esperados = {
        "4711", "2026-12-05", "150.5", "0", "0", "1500", "A", "1", "3", "0", "", "2026-12-05"};
    for (size_t i = 0; i < esperados.size(); ++i)
        EXPECT_EQ(f.Texto(i), esperados[i]) << f.Columnas()[i];
    const std::string log = Leer_Log();
    EXPECT_NE(log.find("Solicitud ID: 10 - Ticket Nro. 4711 - Se inicia el proceso para el "
                       "timbrado.\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("Solicitud ID: 10 - Ticket Nro. 4711 - Se completó el proceso para el "
                       "timbrado.\r\n"),
              std::string::npos);
    EXPECT_TRUE(entorno.operador.mostrados.empty());
    EXPECT_TRUE(Solicitudes_Pendientes().empty());  // reloaded at the end
}

TEST_F(Pase_Generacion, RechazoConMotivoLimpioCortadoYMontosAnulados) {
    // 100 characters with accents and quotes, so that the reason passes 199 characters.
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
        "El Monto de la Solicitud ($ 350.00) + El Monto Ya Facturado ($ "
        "1,000.00)  Excede al monto del Ticket Nro: 4711  (Sucursal: "
        "Sucursal Ñandú Norte " +
        std::string(75, 'x') + ") ($ 1,200.00)";
    EXPECT_EQ(Solicitud(10, "Status"), "4");
    EXPECT_EQ(Solicitud(10, "Resultado"), Primeros_Caracteres(limpio, 199));
    EXPECT_EQ(Solicitud(10, "CHAR_LENGTH(Resultado)"), "199");
    EXPECT_NE(Leer_Log().find("Solicitud ID: 10 - 4711 - " + limpio + "\r\n"), std::string::npos);
    EXPECT_EQ(Valor_Central("SELECT Status FROM Montos_Facturados WHERE ID_Solicitud = 10"), "1");
    EXPECT_EQ(Valor_Central("SELECT Status FROM Montos_Facturados WHERE ID_Solicitud = 11"), "0");
    EXPECT_EQ(Facturas(), "0");
    EXPECT_EQ(Folio_Siguiente(3), "1500");
}

// A request put back to pending after a rejection keeps its series, folio and invoice row, even
// when a new request of the same pass registered another invoice just before it.
TEST_F(Pase_Generacion, SolicitudReactivadaReusaSuFacturaYNoMueveElFolio) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 1501);
    Sembrar_Ticket(4711, 3, "1000");
    Ejecutar_Central(
        "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, ID_Sucursal, Status) VALUES "
        "(-5, 'A', 1432, 3, 1), (-4, 'A', 1432, 4, 1)");
    Sembrar_Solicitud(9);
    Sembrar_Solicitud(10, {{"Serie", "'A'"}, {"Folio", "1432"}, {"ID_Factura", "-5"}});
    Sembrar_Solicitud(11, {{"Serie", "'A'"}, {"Folio", "1433"}});  // its row is missing
    Cargar_Datos();
    Ejecutar_Pase();

    EXPECT_EQ(Solicitud(9, "ID_Factura"), "-6");
    EXPECT_EQ(Solicitud(9, "Folio"), "1501");
    EXPECT_EQ(Solicitud(10, "Status"), "2");
    EXPECT_EQ(Solicitud(10, "ID_Factura"), "-5");
    EXPECT_TRUE(En_Cola(carpetas, "Factura A Folio 1432.txt"));
    EXPECT_EQ(Solicitud(11, "Status"), "2");
    EXPECT_EQ(Solicitud(11, "ID_Factura"), "-7");
    EXPECT_EQ(Factura("-7", "CONCAT(serie, '/', folio)"), "A/1433");
    EXPECT_EQ(Facturas(), "4");
    EXPECT_EQ(Folio_Siguiente(3), "1502");  // only the new request advanced it
}

TEST_F(Pase_Generacion, SoloSerieOSoloFolioSeTratanComoNuevas) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "B", 1500);
    Sembrar_Ticket(4711, 3, "1000");
    Sembrar_Solicitud(10, {{"Serie", "'A'"}, {"Folio", "0"}});
    Sembrar_Solicitud(11, {{"Serie", "''"}, {"Folio", "77"}});
    Cargar_Datos();
    Ejecutar_Pase();

    EXPECT_EQ(Solicitud(10, "CONCAT(Serie, '/', Folio)"), "B/1500");
    EXPECT_EQ(Solicitud(11, "CONCAT(Serie, '/', Folio)"), "B/1501");
    EXPECT_EQ(Folio_Siguiente(3), "1502");
    EXPECT_EQ(Facturas(), "2");
    EXPECT_TRUE(En_Cola(carpetas, "Factura B Folio 1501.txt"));
}

TEST_F(Pase_Generacion, SucursalSinSerieSeQuedaPendienteConAviso) {
    Sembrar_Sucursal(3, "Centro", "");
    Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (4, 'Norte')");
    Sembrar_Ticket(4711, 3, "1000");
    Sembrar_Ticket(4711, 4, "1000");
    Sembrar_Solicitud(10);
    Sembrar_Solicitud(11, {{"ID_Sucursal", "4"}});
    Cargar_Datos();
    Ejecutar_Pase();

    const std::string log = Leer_Log();
    EXPECT_NE(log.find("ID Solicitud: 10 -  No se encontró la Serie y Folio de facturas para la "
                       "sucursal Centro\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("ID Solicitud: 11 -  No se encontró la Serie y Folio de facturas para la "
                       "sucursal Norte\r\n"),
              std::string::npos);
    EXPECT_EQ(log.find("Se inicia"), std::string::npos);
    EXPECT_EQ(Solicitud(10, "Status"), "1");
    EXPECT_EQ(Solicitud(11, "Status"), "1");
    EXPECT_EQ(Facturas(), "0");
    EXPECT_EQ(Solicitudes_Pendientes().size(), 2u);
}

// A file that did not reach the queue is not a success: nothing is registered and the folio is
// kept for the next attempt.
TEST_F(Pase_Generacion, ArchivoNoEncoladoNoGastaFolioNiRegistraFactura) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 1500, false);
    Sembrar_Ticket(4711, 3, "1000");
    Sembrar_Solicitud(10);
    Cargar_Datos();
    Ejecutar_Pase();

    const auto mostrados = entorno.operador.De_Tipo("estandar");
    ASSERT_EQ(mostrados.size(), 1u);
    EXPECT_EQ(mostrados[0].titulo, "Error creando archivo para timbrar");
    const std::string rutas =
        "Rutas: Validas: " + carpetas.validas + "  -  " +
        Unir_Ruta(entorno.Carpeta(), "_10_15_40_Factura A Folio 1500.txt") +
        "  ---- Para timbrar: " + Unir_Ruta(carpetas.cola, "Factura A Folio 1500.txt") + "  --  ";
    EXPECT_EQ(mostrados[0].texto.substr(0, rutas.size()), rutas);
    EXPECT_FALSE(
        Existe_Archivo(Unir_Ruta(entorno.Carpeta(), "_10_15_40_Factura A Folio 1500.txt")));
    EXPECT_NE(Leer_Log().find("Error creando archivo para timbrar - " + mostrados[0].texto),
              std::string::npos);
    EXPECT_EQ(Solicitud(10, "Status"), "1");
    EXPECT_EQ(Facturas(), "0");
    EXPECT_EQ(Folio_Siguiente(3), "1500");

    for (const auto& carpeta : {carpetas.cola, carpetas.validas})
        std::filesystem::create_directories(carpeta);
    Ejecutar_Pase();
    EXPECT_EQ(Solicitud(10, "CONCAT(Status, '/', Folio)"), "2/1500");
    EXPECT_TRUE(En_Cola(carpetas, "Factura A Folio 1500.txt"));
    EXPECT_EQ(Folio_Siguiente(3), "1501");
}

// The third request cannot be moved to status 2 (its row is held by another writer): its unit
// is undone whole, the pass stops there, and the next pass gives it the same folio.
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
    EXPECT_EQ(Solicitud(11, "CONCAT(Status, '/', Folio)"), "2/1501");
    EXPECT_EQ(Solicitud(12, "Status"), "1");
    EXPECT_EQ(Solicitud(13, "Status"), "1");
    EXPECT_EQ(Facturas(), "2");
    EXPECT_EQ(Folio_Siguiente(3), "1502");
    EXPECT_FALSE(En_Cola(carpetas, "Factura A Folio 1502.txt"));

    otro.Deshacer_Transaccion();
    otro.Cerrar();
    Ejecutar_Pase();
    EXPECT_EQ(Solicitud(12, "CONCAT(Status, '/', Folio, '/', ID_Factura)"), "2/1502/-3");
    EXPECT_EQ(Solicitud(13, "CONCAT(Status, '/', Folio, '/', ID_Factura)"), "2/1503/-4");
    EXPECT_EQ(Valor_Central("SELECT COUNT(DISTINCT folio) FROM Facturas_Electronicas"), "4");
    EXPECT_EQ(Folio_Siguiente(3), "1504");
}

TEST_F(Pase_Generacion, ElContadorDeFoliosQuedaBloqueadoDuranteLaUnidad) {
    Sembrar_Sucursal(3, "Centro");
    Sembrar_Ticket(4711, 3, "300");
    Sembrar_Solicitud(10);
    Cargar_Datos();
    const std::string bloquear =
        "SELECT Folio_Inicial_Facturas FROM Configuracion_Facturas_Electronicas WHERE "
        "ID_Sucursal = 3 FOR UPDATE NOWAIT";
    const auto bloqueado = [&] {
        Conexion otro;
        otro.Abrir(Cadena_Central_Pruebas());
        otro.Iniciar_Transaccion();
        try {
            otro.Ejecutar(bloquear);
        } catch (const Error_Plataforma&) {
            return true;
        }
        return false;
    };
    std::vector<bool> durante;
    Estado_Generacion_Actual().Mostrar_Archivo = [&](const std::string&) {
        durante.push_back(bloqueado());
    };
    Ejecutar_Pase();
    EXPECT_EQ(durante, std::vector<bool>{true});
    EXPECT_FALSE(bloqueado());
    EXPECT_EQ(Solicitud(10, "Status"), "2");
}

// Values with an apostrophe or a backslash are stored as they came.
TEST_F(Pase_Generacion, ApostrofesYDiagonalesInvertidasSeGuardanTalCual) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "O'B\\", 1500);
    const std::string validas = Unir_Ruta(entorno.Carpeta(), "vál'idas\\x");
    std::filesystem::create_directories(validas);
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET Ruta_Facturas_Validas = " +
                     Literal(Ruta_Para_BD(validas)));
    Sembrar_Ticket(4711, 3, "300");
    Sembrar_Solicitud(10, {{"Nombre", Literal("D'Arcy \\ Cía")}});
    Cargar_Datos();
    Ejecutar_Pase();

    EXPECT_EQ(Solicitud(10, "Serie"), "O'B\\");
    EXPECT_EQ(Solicitud(10, "Archivo"), "Factura O'B\\ Folio 1500");
    EXPECT_EQ(Solicitud(10, "Ruta_Archivo"), Ruta_Para_BD(validas));
    EXPECT_EQ(Factura(Solicitud(10, "ID_Factura"), "serie"), "O'B\\");
    const std::string archivo =
        Texto_Leido(Leer_Archivo(Unir_Ruta(carpetas.cola, "Factura O'B\\ Folio 1500.txt")));
    EXPECT_NE(archivo.find("\r\nNombre=D'Arcy \\ Cía\r\n"), std::string::npos);
}

}  // namespace
}  // namespace facturador::pruebas

#include <atomic>
#include <thread>

#include "Siembra_Central.h"
#include "data/Log.h"
#include "data/Rechazo_Solicitud.h"
#include "data/Turno_Central.h"
#include "generation/Eleccion_Folio.h"
#include "issuing_config/Intercambio_Timbrado.h"
#include "platform/Error_Plataforma.h"
#include "platform/Operador_Sin_Pantalla.h"

namespace facturador::pruebas {
namespace {

using Nombres = std::vector<std::string>;

class Pase_Generacion : public Prueba_Central {
  protected:
    // Holds request `id`'s row on `otro`, starts a pass on a thread, returns once it waits there.
    std::thread Pase_Esperando(int id, Conexion& otro, Conexion& vigia,
                               std::atomic<bool>& terminado) {
        otro.Iniciar_Transaccion();
        otro.Ejecutar("SELECT * FROM Solicitudes_de_Facturas_OL WHERE ID = " + std::to_string(id) +
                      " FOR UPDATE");
        terminado = false;
        std::thread pase([this, &terminado] {
            Ejecutar_Pase();
            terminado = true;
        });
        const std::string esperando =
            "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE INFO LIKE 'SELECT Status "
            "FROM Solicitudes_de_Facturas_OL WHERE ID = " +
            std::to_string(id) + " FOR UPDATE'";
        while (!terminado && vigia.Ejecutar(esperando).Texto(size_t{0}) == "0")
            std::this_thread::yield();
        return pase;
    }
    static bool En_Cola(const Carpetas_Sucursal& c, int folio) {
        return Existe_Archivo(
            Unir_Ruta(c.cola, "Factura A Folio " + std::to_string(folio) + ".txt"));
    }
    static std::string Estado(int id) {
        return Solicitud(id, "CONCAT_WS('/', Status, Serie, Folio, ID_Factura)");
    }
};

// Every value is stored and written as it came, apostrophes and backslashes included, the branch's
// folio counter stays locked while the request's unit of work runs, and its log lines follow it.
TEST_F(Pase_Generacion, SolicitudNuevaSeEncolaYSeRegistraTalCualConElContadorBloqueado) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "O'B", 1500);
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
        durante.push_back(Leer_Log().empty());  // nothing logged while the lock is held
    };
    Ejecutar_Pase();

    EXPECT_EQ(durante, (std::vector<bool>{true, true}));
    EXPECT_FALSE(contador_bloqueado());
    const std::string archivo =
        Texto_Leido(Leer_Archivo(Unir_Ruta(carpetas.cola, "Factura O'B Folio 1500.txt")));
    EXPECT_TRUE(Contiene(archivo, "\r\nNombre=D'Arcy \\ Cía\r\n"));
    EXPECT_EQ(Archivos_en_Carpeta(carpetas.cola).size(), 1u);
    EXPECT_EQ(Estado(10), "2/O'B/1500/-17");
    EXPECT_EQ(Solicitud(10, "CONCAT(Archivo, '|', Ruta_Archivo)"),
              "Factura O'B Folio 1500|" + Ruta_Para_BD(carpetas.validas));
    EXPECT_EQ(Folio_Siguiente(3), "1501");
    EXPECT_EQ(Valor_Central("SELECT CONCAT_WS('|', Nro_Ticket, Fecha_Emision, Consumo, Descuento, "
                            "total, folio, serie, Status, ID_Sucursal, ID_Cliente, noCertificado, "
                            "FUM) FROM Facturas_Electronicas WHERE ID_Factura = -17"),
              "4711|2026-12-05|150.5|0|0|1500|O'B|1|3|0||2026-12-05");
    const std::string log = Leer_Log(), de_10 = "Solicitud ID: 10 - Ticket Nro. 4711 - ";
    const size_t completo = log.find(de_10 + "Se completó el proceso para el timbrado.\r\n");
    EXPECT_NE(completo, std::string::npos);
    EXPECT_LT(log.find(de_10 + "Se inicia el proceso para el timbrado.\r\n"), completo);
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
    EXPECT_TRUE(Contiene(Leer_Log(), "Solicitud ID: 10 - 4711 - " + limpio + "\r\n"));
    EXPECT_EQ(Valor_Central("SELECT GROUP_CONCAT(Status ORDER BY ID_Solicitud) FROM "
                            "Montos_Facturados"),
              "1,0");
    EXPECT_EQ(Facturas(), "0");
    EXPECT_EQ(Folio_Siguiente(3), "1500");
}

// A request's series and folio are reused only with its own invoice row (same branch and ticket,
// even right after another invoice); any other is ignored, told once, and a new folio taken.
TEST_F(Pase_Generacion, SoloLaSerieYFolioDeSuFacturaSeReusanYSoloLasNuevasMuevenElFolio) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 1501);
    Sembrar_Ticket(4711, 3, "1000");
    Ejecutar_Central(
        "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, ID_Sucursal, Nro_Ticket, "
        "Status) VALUES (-5, 'A', 1432, 3, 4711, 1), (-4, 'A', 1432, 4, 4711, 1), "
        "(-3, 'A', 1433, 3, 9999, 1)");
    Sembrar_Solicitud(9);
    Sembrar_Solicitud(10, {{"Serie", "'A'"}, {"Folio", "1432"}, {"ID_Factura", "-5"}});
    Sembrar_Solicitud(11, {{"Serie", "'A'"}, {"Folio", "1433"}});  // another ticket's folio
    Sembrar_Solicitud(12, {{"Serie", "'Z'"}, {"Folio", "0"}});
    Sembrar_Solicitud(13, {{"Serie", "''"}, {"Folio", "77"}});
    Sembrar_Solicitud(14, {{"Serie", "'ZZ'"}, {"Folio", "4"}});
    Sembrar_Solicitud(15, {{"Serie", "'A'"}, {"Folio", "1432"}});  // request 10's
    Cargar_Datos();
    Ejecutar_Pase();

    EXPECT_EQ(
        Valor_Central("SELECT GROUP_CONCAT(CONCAT_WS('/', ID, Status, Serie, Folio, "
                      "ID_Factura) ORDER BY ID SEPARATOR ' ') FROM Solicitudes_de_Facturas_OL"),
        "9/2/A/1501/-6 10/2/A/1432/-5 11/2/A/1502/-7 12/2/A/1503/-8 13/2/A/1504/-9 "
        "14/2/A/1505/-10 15/2/A/1506/-11");
    EXPECT_TRUE(En_Cola(carpetas, 1432) && !En_Cola(carpetas, 1433));
    EXPECT_EQ(Facturas(), "9");
    EXPECT_EQ(Folio_Siguiente(3), "1507");
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, "que trae la solicitud"), 5);
    EXPECT_TRUE(Una_Vez(log,
                        "Solicitud ID: 14 - Ticket Nro. 4711 - Se ignoran la Serie \"ZZ\" y el "
                        "Folio 4 que trae la solicitud"));
}

// A request that cannot reach the queue (no series or profile, file not written, a series unfit to
// name a file, the counter at its maximum) spends no invoice, folio or file, and stays pending.
TEST_F(Pase_Generacion, SolicitudQueNoLlegaALaColaNoGastaFolioNiRegistraFactura) {
    const auto carpetas = Sembrar_Sucursal(3, "Centro", "A", 1500, false);
    Sembrar_Sucursal(4, "Norte", "");
    Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (5, 'Sur')");
    const auto salto = Sembrar_Sucursal(6, "Oeste", "Z\r\nW");
    const auto ultimo = Sembrar_Sucursal(7, "Alto", "A", 2147483647);
    for (int sucursal = 3; sucursal <= 7; ++sucursal) {
        Sembrar_Ticket(4711, sucursal, "1000");
        Sembrar_Solicitud(sucursal + 5, {{"ID_Sucursal", std::to_string(sucursal)}});
    }
    Cargar_Datos();
    Ejecutar_Pase();

    const std::string log = Leer_Log();
    for (const char* caso :
         {"9 -  No se encontró la Serie y Folio de facturas para la sucursal Norte",
          "10 -  No se encontró la Serie y Folio de facturas para la sucursal Sur"})
        EXPECT_TRUE(Contiene(log, "ID Solicitud: " + std::string(caso) + "\r\n")) << caso;
    const auto mostrados = entorno.operador.De_Tipo("estandar");
    ASSERT_EQ(mostrados.size(), 2u);
    for (const auto& mostrado : mostrados) {
        EXPECT_EQ(mostrado.titulo, "Error creando archivo para timbrar");
        EXPECT_TRUE(Contiene(log, "Error creando archivo para timbrar - " + mostrado.texto));
    }
    EXPECT_EQ(mostrados[1].texto,
              "Rutas:   --  El Siguiente Folio a Emitir de la sucursal 7 es 2147483647, el mayor "
              "posible: no se puede emitir otro folio de la serie A.");
    EXPECT_EQ(Archivos_en_Carpeta(entorno.Carpeta()), Nombres{Nombre_Archivo_Log()});
    EXPECT_TRUE(Archivos_en_Carpeta(salto.cola).empty() &&
                Archivos_en_Carpeta(ultimo.cola).empty());
    EXPECT_EQ(Estados_Solicitudes(), "1,1,1,1,1");
    EXPECT_EQ(Facturas(), "0");
    EXPECT_EQ(Valor_Central("SELECT GROUP_CONCAT(Folio_Inicial_Facturas ORDER BY ID_Sucursal) FROM "
                            "Configuracion_Facturas_Electronicas"),
              "1500,1500,1500,2147483647");

    for (const auto& carpeta : {carpetas.cola, carpetas.validas})
        std::filesystem::create_directories(carpeta);
    Ejecutar_Pase();
    EXPECT_EQ(Estado(8), "2/A/1500/-1");
    EXPECT_TRUE(En_Cola(carpetas, 1500));
    EXPECT_EQ(Folio_Siguiente(3), "1501");
}

// A file failing every pass is logged once, hourly with its count, and when it goes through. The
// operator sees each failure; without a display, nothing on top of the log (its name changes).
TEST_F(Pase_Generacion, FallaRepetidaSeAnotaUnaVezPorHoraYAlResolverse) {
    const auto c = Sembrar_Solicitud_10("1000", false);
    Ejecutar_Central(
        "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, ID_Sucursal) "
        "VALUES (-1, 'A', 1500, 3)");
    const std::string falla = "Solicitud ID: 10 - Error creando archivo para timbrar - ";
    for (const long long segundos : {0, 3599, 1, 1}) {
        entorno.reloj.Avanzar_Segundos(segundos);
        Ejecutar_Pase();
    }
    EXPECT_EQ(Veces(Leer_Log(), falla), 2);
    EXPECT_EQ(Veces(Leer_Log(), " [se repitió 1 vez desde las 10:15]\r\n"), 2);  // and the folder
    EXPECT_EQ(entorno.operador.De_Tipo("estandar").size(), 4u);
    std::vector<std::string> avisos;
    Operador_Sin_Pantalla sin_pantalla([&](const std::string& l) { avisos.push_back(l); });
    Entorno_Actual().operador = &sin_pantalla;
    Ejecutar_Pase();
    EXPECT_EQ(avisos, Nombres{});
    Entorno_Actual().operador = &entorno.operador;
    EXPECT_EQ(Veces(Leer_Log(), "Se salta el folio") + Veces(Leer_Log(), "Se inicia"), 0);

    for (const auto& carpeta : {c.cola, c.validas})
        std::filesystem::create_directories(carpeta);
    Ejecutar_Pase();
    Ejecutar_Pase();
    EXPECT_EQ(Estado(10), "2/A/1501/-2");
    EXPECT_TRUE(Una_Vez(Leer_Log(), "Se resolvió: " + falla));
}

// A row held by another writer past the lock wait is a conflict, not a failure: its unit is undone
// whole, its file removed, the pass goes on, and the next pass gives it the next folio.
TEST_F(Pase_Generacion, ConflictoEnUnaUnidadLaDeshaceYElPaseSigue) {
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
    Conexion_Abierta ciclo;
    ciclo.Ejecutar("SET SESSION innodb_lock_wait_timeout = 0");
    EXPECT_TRUE(Generar_Archivos_para_Timbrar(ciclo));
    Cerrar_Conexion(ciclo);

    EXPECT_TRUE(entorno.operador.mostrados.empty());
    EXPECT_TRUE(Una_Vez(Leer_Log(), "Conflicto:  Lock wait timeout exceeded"));
    EXPECT_EQ(Estado(11), "2/A/1501/-2");
    EXPECT_EQ(Solicitud(12, "Status"), "1");
    EXPECT_EQ(Estado(13), "2/A/1502/-3");
    EXPECT_EQ(Folio_Siguiente(3), "1503");
    EXPECT_EQ(Archivos_en_Carpeta(carpetas.cola).size(), 3u);  // 1500 to 1502

    otro.Deshacer_Transaccion();
    otro.Cerrar();
    Ejecutar_Pase();
    EXPECT_EQ(Estado(12), "2/A/1503/-4");
    EXPECT_EQ(Valor_Central("SELECT COUNT(DISTINCT folio) FROM Facturas_Electronicas"), "4");
    EXPECT_EQ(Folio_Siguiente(3), "1504");
}

// A copy that lost the lease commits nothing: no folio, no file, and no failure to tell.
TEST_F(Pase_Generacion, UnaCopiaQuePerdioElTurnoNoConfirmaNada) {
    const auto carpetas = Sembrar_Solicitud_10("116");
    Ejecutar_Central("UPDATE Turno_Facturador SET Vence = NOW(6) - INTERVAL 1 SECOND");
    Turno_Central otra_copia("otra:/srv pid 1 #1", "otra:/srv pid ");
    ASSERT_EQ(otra_copia.Asegurar(), Turno_Central::Estado::Tenido);
    Ejecutar_Pase();

    EXPECT_EQ(Estado(10), "1//0/0");
    EXPECT_EQ(Folio_Siguiente(3) + "/" + Facturas(), "1500/0");
    EXPECT_TRUE(Archivos_en_Carpeta(carpetas.cola).empty());
    EXPECT_TRUE(entorno.operador.mostrados.empty());
    EXPECT_EQ(Leer_Log(), "");  // neither a failure nor a conflict
}

// A unit waiting on a row another writer holds keeps its file hidden until it commits.
TEST_F(Pase_Generacion, UnidadQueEsperaUnBloqueoNoPublicaNadaHastaConfirmar) {
    const auto carpetas = Sembrar_Solicitud_10("116");
    // Both opened before the pass starts: the pool of connections is not shared between threads.
    Conexion otro, vigia;
    otro.Abrir(Cadena_Central_Pruebas());
    vigia.Abrir(Cadena_Central_Pruebas());
    std::atomic<bool> terminado;
    std::thread pase = Pase_Esperando(10, otro, vigia, terminado);
    EXPECT_FALSE(terminado);
    EXPECT_EQ(Archivos_en_Carpeta(carpetas.cola),
              Nombres{".Factura A Folio 1500.txt.10.turno1.pendiente"});
    otro.Confirmar_Transaccion();
    pase.join();

    EXPECT_EQ(Archivos_en_Carpeta(carpetas.cola), Nombres{"Factura A Folio 1500.txt"});
    EXPECT_EQ(Estado(10), "2/A/1500/-1");

    // The same wait, the holder another copy sending the request itself: this unit issues nothing.
    Sembrar_Ticket(4712, 3, "116");
    Sembrar_Solicitud(11, {{"Nro_Ticket", "4712"}});
    Cargar_Datos();
    std::thread segundo = Pase_Esperando(11, otro, vigia, terminado);
    otro.Ejecutar("UPDATE Solicitudes_de_Facturas_OL SET Status = 2 WHERE ID = 11");
    otro.Confirmar_Transaccion();
    segundo.join();
    otro.Cerrar();
    vigia.Cerrar();
    EXPECT_EQ(Archivos_en_Carpeta(carpetas.cola), Nombres{"Factura A Folio 1500.txt"});
    EXPECT_EQ(Folio_Siguiente(3) + "/" + Facturas(), "1501/1");
    EXPECT_TRUE(Una_Vez(Leer_Log(), "otra copia del programa la atendió"));
}

// A folio held by a queued file, a result or an invoice row is skipped, logged with its holder
// untouched; a long run of held folios is skipped a bounded stretch per pass.
TEST_F(Pase_Generacion, FolioOcupadoSeSaltaSinTocarLoQueLoOcupa) {
    const auto c = Sembrar_Solicitud_10("1000");
    Escribir_Archivo(Unir_Ruta(c.cola, "Factura A Folio 1500.txt"), "de otra solicitud");
    Escribir_Archivo(Unir_Ruta(c.validas, "Factura A Folio 1501.pdf"), "timbrada");
    Escribir_Archivo(Unir_Ruta(c.no_validas, "Factura A Folio 1502-error timbrado.txt"), "error");
    Ejecutar_Central(
        "INSERT INTO Facturas_Electronicas (ID_Factura, serie, folio, ID_Sucursal, Status) VALUES "
        "(-1, 'A', 1503, 3, 2)");
    Ejecutar_Pase();

    EXPECT_EQ(Estado(10), "2/A/1504/-2");
    EXPECT_EQ(Folio_Siguiente(3), "1505");
    EXPECT_EQ(Leer_Archivo(Unir_Ruta(c.cola, "Factura A Folio 1500.txt")), "de otra solicitud");
    const std::string log = Leer_Log();
    EXPECT_EQ(Veces(log, "Solicitud ID: 10 - Ticket Nro. 4711 - Se salta el folio "), 4);
    EXPECT_TRUE(Una_Vez(log, "Se salta el folio 1501 de la serie A: ya existe " +
                                 Unir_Ruta(c.validas, "Factura A Folio 1501.pdf") + ".\r\n"));
    EXPECT_TRUE(
        Una_Vez(log, "Se salta el folio 1503 de la serie A: ya está registrada la factura -1"));

    for (int folio = 1505; folio <= 1505 + kMaximo_Folios_Saltados; ++folio)
        Escribir_Archivo(Unir_Ruta(c.validas, Archivo_Base("A", folio) + ".xml"), "");
    Sembrar_Solicitud(11);
    Ejecutar_Pase();
    EXPECT_EQ(Solicitud(11, "Status"), "1");
    EXPECT_EQ(Folio_Siguiente(3), std::to_string(1505 + kMaximo_Folios_Saltados));
    EXPECT_TRUE(Una_Vez(Leer_Log(),
                        "Se saltaron 1000 folios ocupados de la serie A sin hallar uno "
                        "libre; la solicitud espera al siguiente ciclo."));
    Ejecutar_Pase();
    EXPECT_EQ(Estado(11), "2/A/" + std::to_string(1506 + kMaximo_Folios_Saltados) + "/-3");
}

}  // namespace
}  // namespace facturador::pruebas

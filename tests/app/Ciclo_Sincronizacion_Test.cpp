#include "app/Ciclo_Sincronizacion.h"

#include "Apoyo_App.h"
#include "app/Arranque.h"
#include "app/Estado_Publicado.h"
#include "app/Textos_Ventana.h"
#include "app/Turno_Trabajo.h"
#include "data/Conexiones.h"
#include "data/Poda_Log.h"
#include "issuing_config/Zona_Sucursal.h"

namespace facturador::pruebas {
namespace {

using Ciclo_Test = Prueba_Ciclo;

std::vector<std::string> Textos_De_Status(const Vista_Falsa& vista) {
    std::vector<std::string> textos;
    for (const std::string& llamada : vista.llamadas)
        if (llamada.starts_with("status:") && (textos.empty() || textos.back() != llamada))
            textos.push_back(llamada);
    return textos;
}

const std::vector<std::string> kStatus_De_Un_Ciclo = {
    "status:Sincronizando", "status:Abriendo conexión con base de datos central",
    "status:Sincronizar Ahora"};

// A cycle shows its texts and ends rearmed; nothing that arrives while it runs starts another.
TEST_F(Ciclo_Test, Muestra_Sus_Textos_Queda_Rearmado_Y_Sigue_A_Las_Rechazadas) {
    bool en_curso_durante_el_ciclo = false;
    vista.al_procesar_eventos = [&] {
        en_curso_durante_el_ciclo = ciclo.En_Curso();
        ciclo.cmdSincronizar_Click();
        ciclo.tmrTimer_Timer();
    };
    ciclo.tmrTimer_Timer();
    vista.al_procesar_eventos = nullptr;
    EXPECT_TRUE(en_curso_durante_el_ciclo);
    EXPECT_EQ(vista.Cuantas("eventos"), 1);
    EXPECT_EQ(Textos_De_Status(vista), kStatus_De_Un_Ciclo);
    EXPECT_EQ(vista.llamadas.front(), "timer:0");
    EXPECT_EQ(vista.llamadas.back(), "timer:1");
    EXPECT_EQ(vista.Cuantas("ver_errores:0"), 1);
    EXPECT_FALSE(ciclo.En_Curso());
    // 10:15:40: the seconds are dropped before the 10 seconds are added.
    EXPECT_EQ(Configuracion().Hora_Ultima, "10:15");
    EXPECT_EQ(Configuracion().Proxima_Sincronizacion, "05/12/2026 10:15");
    EXPECT_EQ(Leer_Log(), "");
    entorno.reloj.Avanzar_Segundos(15);  // 10:15:55 too
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Configuracion().Proxima_Sincronizacion, "05/12/2026 10:15");

    // A status-4 request shows lblLog, after the cycle that also looked at the rejected requests.
    Ejecutar_Central(
        "INSERT INTO Solicitudes_de_Facturas_OL (ID, Fecha, Status) VALUES (1, '2024/08/01', 4)");
    vista.llamadas.clear();
    ciclo.cmdSincronizar_Click();
    EXPECT_EQ(vista.Cuantas("ver_errores:1"), 1);
    EXPECT_EQ(vista.Cuantas("ocultamiento:1"), 1);
    EXPECT_EQ(vista.llamadas.back(), "timer:1");

    // With the configuration window open the timer is off: "Sincronizar" does nothing.
    vista.llamadas.clear();
    vista.timer = false;
    ciclo.cmdSincronizar_Click();
    EXPECT_TRUE(vista.llamadas.empty());
}

// The service manager's side: every message, in order; Status() without the bare "alive" ones.
struct Gestor_Grabador : Gestor_Servicio {
    void Notificar(const std::string& mensaje) override { mensajes.push_back(mensaje); }
    std::vector<std::string> Status() const {
        std::vector<std::string> status;
        for (const std::string& m : mensajes)
            if (m != "WATCHDOG=1")
                status.push_back(m);
        return status;
    }
    std::vector<std::string> mensajes;
};

// Each failure is logged once, then hourly, and once more when it clears; the cycles stay alive.
TEST_F(Ciclo_Test, Sin_Servidor_Cada_Ciclo_Termina_Rearmado_Y_El_Log_No_Se_Llena) {
    Gestor_Grabador gestor;
    Entorno_Actual().servicio = &gestor;
    Servidor_Detenido servidor;
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(gestor.Status(), std::vector<std::string>{
                                   "WATCHDOG=1\nSTATUS=Pendientes: 0; en timbrado: 0. Último "
                                   "ciclo: 10:15:40, sin conexión con la base de datos central."});
    EXPECT_EQ(Textos_De_Status(vista), kStatus_De_Un_Ciclo);
    EXPECT_EQ(vista.llamadas.back(), "timer:1");
    EXPECT_EQ(vista.Cuantas("ver_errores:0") + vista.Cuantas("ver_errores:1"), 0);
    const long por_ciclo = Veces(Leer_Log(), "Error:  ");
    EXPECT_TRUE(Una_Vez(Leer_Log(), "Tomar el turno de trabajo"));
    EXPECT_FALSE(Cargar_Estado_Publicado().Seguimiento.Ultimo_Ciclo_Exitoso);

    entorno.reloj.Avanzar_Segundos(3599);
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Veces(Leer_Log(), "Error:  "), por_ciclo);  // the same hour adds nothing
    entorno.reloj.Avanzar_Segundos(-3600);  // a clock set back does not hide the failure
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Veces(Leer_Log(), "Error:  "), 2 * por_ciclo);

    servidor.Reparar();
    ciclo.tmrTimer_Timer();
    ciclo.tmrTimer_Timer();
    EXPECT_TRUE(Una_Vez(Leer_Log(), kLinea_Recuperacion));
    EXPECT_EQ(Veces(Leer_Log(), "Se resolvió: Error:  "), por_ciclo);
    EXPECT_EQ(Veces(Leer_Log(), "Error:  "), 3 * por_ciclo);
    EXPECT_TRUE(gestor.Status().back().ends_with(", sin errores.")) << gestor.Status().back();
    EXPECT_EQ(Cargar_Estado_Publicado().Seguimiento.Ultimo_Ciclo_Exitoso, entorno.reloj.Ahora());
}

// After each cycle the service manager hears the program is alive, and what waits. The first cycle
// of a day removes the daily logs older than local.dll's setting (if not whole days: 365), only.
TEST_F(Ciclo_Test, Cada_Ciclo_Avisa_Al_Servicio_Y_El_Primero_Del_Dia_Poda_Las_Bitacoras) {
    Gestor_Grabador gestor;
    Entorno_Actual().servicio = &gestor;
    entorno.Crear_Bases_Locales();
    const auto ruta = [&](const std::string& n) { return Unir_Ruta(entorno.Carpeta(), n); };
    Ejecutar_SQLite(ruta("local.dll"), "UPDATE Configuracion SET Dias_Conservar_Log = 30");
    const std::vector<std::string> quedan = {"log_05_11_2026.txt",     "LOG_01_01_2020.txt",
                                             "log_01_01_2020.txt.bak", "log_1_1_2020.txt",
                                             "log_31_02_2020.txt",     "log_01-01_2020.txt"};
    for (const std::string& nombre : quedan)
        Escribir_Archivo(ruta(nombre), "");
    Sembrar_Solicitud(1);  // without its ticket: rejected, and the pass tells it moved on
    Sembrar_Solicitud(2, {{"Status", "2"}});
    ASSERT_EQ(Cargar_Datos_Iniciales(), Resultado_Arranque::Continuar);
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(gestor.Status(), (std::vector<std::string>{"WATCHDOG=1\nSTATUS="
                                                         "Pendientes: 0; en timbrado: 1. Último "
                                                         "ciclo: 10:15:40, sin errores."}));
    // Alive after each step: lease, connection, settled request, pass, 4 worker steps, the scan.
    EXPECT_EQ(gestor.mensajes.size() - gestor.Status().size(), 9u);
    for (const std::string& nombre : quedan)
        EXPECT_TRUE(Existe_Archivo(ruta(nombre))) << nombre;

    Escribir_Archivo(ruta("log_01_01_2020.txt"), "");
    entorno.reloj.Poner({2026, 12, 5, 23, 59, 59});
    ciclo.tmrTimer_Timer();
    EXPECT_TRUE(Existe_Archivo(ruta("log_01_01_2020.txt")));
    entorno.reloj.Avanzar_Segundos(1);
    ciclo.tmrTimer_Timer();
    EXPECT_FALSE(Existe_Archivo(ruta("log_01_01_2020.txt")) ||
                 Existe_Archivo(ruta("log_05_11_2026.txt")));
    EXPECT_EQ(gestor.Status().size(), 3u);
    for (const char* invalido : {"", "0", "-3", "treinta", "1.5e10"})
        EXPECT_EQ(Leer_Dias_Conservar_Log(invalido), 365) << invalido;
}

TEST_F(Ciclo_Test, Las_Sucursales_Que_No_Cargaron_Al_Arrancar_Las_Carga_Un_Ciclo) {
    entorno.Crear_Bases_Locales();
    Ejecutar_Central("INSERT INTO Sucursales (ID, Nombre) VALUES (3, 'Centro')");
    std::optional<Tabla_Ausente> sucursales(std::in_place, "Sucursales");
    EXPECT_EQ(Cargar_Datos_Iniciales(), Resultado_Arranque::Continuar);
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Nombre_Sucursal(3), "");

    sucursales.reset();
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Nombre_Sucursal(3), "Centro");
}

// Start-up settles a crash: working copies go, a committed waiting file is renamed, others stay.
TEST_F(Ciclo_Test, Al_Arrancar_Se_Resuelve_Lo_Que_Dejo_Una_Caida) {
    entorno.Crear_Bases_Locales();
    const std::string cola =
        Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "sucursal3"), 3, "Centro", "A", 1500).cola;
    Sembrar_Solicitud(10, {{"Status", "2"}, {"Archivo", "'Factura A Folio 1499'"}});
    Escribir_Archivo(Unir_Ruta(cola, ".Factura A Folio 1499.txt.10.pendiente"), "");
    const std::string copia = Unir_Ruta(entorno.Carpeta(), "_10_15_39_Factura A Folio 1500.txt");
    const std::string otro = Unir_Ruta(entorno.Carpeta(), "_notas.txt");
    Escribir_Archivo(copia, "");
    Escribir_Archivo(otro, "");

    EXPECT_EQ(Cargar_Datos_Iniciales(), Resultado_Arranque::Continuar);
    EXPECT_EQ(Archivos_en_Carpeta(cola), std::vector<std::string>{"Factura A Folio 1499.txt"});
    EXPECT_FALSE(Existe_Archivo(copia));
    EXPECT_TRUE(Existe_Archivo(otro));
}

using Reactivacion_Test = Prueba_Ciclo;

// Declining the question, or a failure (shown), changes nothing. Confirmed, a request of 30 July
// 2024 stays rejected and one of 31 July goes back to pending; stamped ones are left alone.
TEST_F(Reactivacion_Test, Desde_El_31_De_Julio_Vuelven_A_Pendiente_Solo_Si_Se_Confirma) {
    Ejecutar_Central(
        "INSERT INTO Solicitudes_de_Facturas_OL (ID, Fecha, Status, Resultado) VALUES "
        "(1, '2024/07/30', 4, 'Error: uno'), (2, '2024/07/31', 4, 'Error: dos'), "
        "(3, '2024/08/02', 3, 'Timbrada')");
    const std::string antes = "1:4:Error: uno,2:4:Error: dos,3:3:Timbrada";
    const std::string pregunta =
        "confirmacion: ATENCION / Se reactivarán las Solicitudes de Facturas ingresadas a partir "
        "del 31-julio-2024 y que quedaron como Rechazadas.";
    ciclo.cmdDesrechazar_Click();
    EXPECT_EQ(Estados_y_Resultados(), antes);
    EXPECT_EQ(vista.llamadas, (std::vector<std::string>{"ocultamiento:0", "ocultamiento:1"}));

    entorno.operador.respuestas = {true};
    {
        const Tabla_Ausente tabla("Solicitudes_de_Facturas_OL");
        ciclo.cmdDesrechazar_Click();
    }
    EXPECT_EQ(Estados_y_Resultados(), antes);

    entorno.operador.respuestas = {true};
    ciclo.cmdDesrechazar_Click();
    EXPECT_EQ(Estados_y_Resultados(), "1:4:Error: uno,2:1:,3:3:Timbrada");
    const auto mostrados = entorno.operador.Textos();
    ASSERT_EQ(mostrados.size(), 4u);
    for (const size_t i : {0u, 1u, 3u})
        EXPECT_EQ(mostrados[i], pregunta) << i;
    EXPECT_TRUE(Empieza(mostrados[2],
                        "advertencia: Se produjo un error / No se pudieron reactivar las "
                        "Solicitudes de Facturas rechazadas; ninguna fue modificada. Detalle: "));
}

// The last runs show "dd-mm-yy  Hh:Nn hs." with two blanks, the next run one blank; the missing
// time of an empty run history leaves its blanks.
TEST(Textos_Ventana, Fechas_Cortas_Y_Horas_Sin_Segundos) {
    Configuracion_Programa c;
    c.Fecha_Ultima = "05/12/2026";
    c.Hora_Ultima = "09:07";
    c.Fecha_Ultima_Exitosa = "31/01/2000";
    c.Hora_Ultima_Exitosa = "23:59";
    c.Proxima_Sincronizacion = "05/12/2026 10:15";
    const Textos_Horas t = Textos_Mostrar_Datos(c);
    EXPECT_EQ(t.Hora_Ultima, "05-12-26  09:07 hs.");
    EXPECT_EQ(t.Hora_Ultima_Exitosa, "31-01-00  23:59 hs.");
    EXPECT_EQ(t.Hora_Siguiente, "05-12-26 10:15 hs.");
    EXPECT_EQ(Texto_Fecha_y_Hora("05/12/2026", ""), "05-12-26   hs.");
}

using Turno_Test = Prueba_Ciclo;

// Of two copies on one database, the one without the lease issues nothing but is the console; once
// the lease is free it takes over and looks at the rejected requests it could not before.
TEST_F(Turno_Test, La_Copia_Sin_Turno_Es_Consola_Y_Al_Tomarlo_Revisa_Las_Rechazadas) {
    const auto carpetas = Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s"), 3, "Centro", "A", 1);
    Sembrar_Ticket(4711, 3, "1000");
    Cargar_Sucursales();
    Cargar_Datos_de_Emision();
    Turno_Central otra_copia("otra:/srv/f pid 1 #1", "otra:/srv/f pid ");
    ASSERT_EQ(otra_copia.Asegurar(), Turno_Central::Estado::Tenido);
    Sembrar_Solicitud(1);
    Sembrar_Solicitud(2, {{"Status", "4"},
                          {"Fecha", "'2026/12/01'"},
                          {"Resultado", "'viejo'"},
                          {"Archivo", "'Factura A Folio 9'"}});
    Escribir_Archivo(Unir_Ruta(carpetas.no_validas, "Factura A Folio 9-error timbrado.txt"),
                     "nuevo motivo\r\n");
    ciclo.tmrTimer_Timer();
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Solicitud(1, "Status"), "1");
    EXPECT_EQ(Solicitud(2, "Resultado"), "viejo");
    EXPECT_TRUE(Una_Vez(Leer_Log(),
                        "Otra copia del programa trabaja con la base de datos central; esta "
                        "copia no genera ni recibe comprobantes mientras tanto."));
    EXPECT_EQ(vista.Cuantas("ver_errores:1"), 2);
    // The console takes a profile edited elsewhere, as the worker does.
    Ejecutar_Central("UPDATE Configuracion_Facturas_Electronicas SET Serie_Facturas = 'B'");
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Obtener_Datos_Emision(3).Serie_Facturas, "B");
    EXPECT_TRUE(Una_Vez(Leer_Log(), "Se tomó el perfil nuevo de la sucursal 3 (Centro)."));

    otra_copia.Soltar();
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Solicitud(1, "Status"), "2");
    EXPECT_EQ(Solicitud(2, "Resultado"), "Error: nuevo motivo");
    EXPECT_TRUE(Una_Vez(Leer_Log(),
                        "Esta copia del programa toma el trabajo con la base de datos "
                        "central.\r\n"));

    // Its lease run out (the copy paused), the other copy takes over; this one reactivates.
    Ejecutar_Central("UPDATE Turno_Facturador SET Vence = NOW(6) - INTERVAL 1 SECOND");
    ASSERT_EQ(otra_copia.Asegurar(), Turno_Central::Estado::Tenido);
    ciclo.tmrTimer_Timer();
    entorno.operador.respuestas.push_back(true);
    ciclo.cmdDesrechazar_Click();
    EXPECT_EQ(Solicitud(2, "Status"), "1");
    EXPECT_TRUE(entorno.operador.De_Tipo("advertencia").empty());
}

// With the built-in password the first cycle of each day says so in the day's log, once.
TEST_F(Ciclo_Test, La_Contrasena_De_Fabrica_Se_Dice_Una_Vez_Al_Dia) {
    Credenciales_Vigentes() = {};
    for (int dia = 6; dia <= 7; ++dia) {
        entorno.reloj.Avanzar_Segundos(86400);
        ciclo.tmrTimer_Timer();
        ciclo.tmrTimer_Timer();
        EXPECT_TRUE(Una_Vez(Leer_Log(), std::string(kAviso_Contrasena_de_Fabrica) + "\r\n")) << dia;
    }
}

// A worker takes a profile corrected with SQL in its next cycle: the branch held for its RFC issues
// again, and the log says so once; a zone override its state may keep is taken the same way.
TEST_F(Turno_Test, El_Trabajador_Toma_El_Perfil_Corregido_En_El_Ciclo_Siguiente) {
    Sembrar_Sucursal(Unir_Ruta(entorno.Carpeta(), "s"), 3, "Centro", "A", 1);
    Sembrar_Ticket(4711, 3, "1000");
    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET RFC_Emisor = 'MAL', "
        "CP_Domicilio_Expedicion = '31000' WHERE ID_Sucursal = 3");
    Cargar_Sucursales();
    Cargar_Datos_de_Emision();
    Sembrar_Solicitud(1);
    ciclo.tmrTimer_Timer();
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Solicitud(1, "Status"), "1");
    EXPECT_EQ(Veces(Leer_Log(), "Se tomó el perfil nuevo"), 0);

    Ejecutar_Central(
        "UPDATE Configuracion_Facturas_Electronicas SET RFC_Emisor = 'ALT150312AB1' "
        "WHERE ID_Sucursal = 3");
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Solicitud(1, "Status"), "2");
    ciclo.tmrTimer_Timer();
    EXPECT_TRUE(Una_Vez(Leer_Log(), "Se tomó el perfil nuevo de la sucursal 3 (Centro)."));

    Ejecutar_Central("INSERT INTO Zonas_Horarias_Sucursales VALUES (3, 'America/Ojinaga')");
    ciclo.tmrTimer_Timer();
    ciclo.tmrTimer_Timer();
    EXPECT_EQ(Zona_de_Sucursal(3).Zona, "America/Ojinaga");
    EXPECT_TRUE(Una_Vez(Leer_Log(),
                        "Se tomó el perfil nuevo de la sucursal 3 (Centro). Sucursal 3 "
                        "(Centro): zona horaria America/Ojinaga"));
}

}  // namespace
}  // namespace facturador::pruebas

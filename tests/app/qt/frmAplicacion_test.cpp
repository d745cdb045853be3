#include "app/qt/frmAplicacion.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include <filesystem>

#include "../Apoyo_App.h"
#include "apoyo/Proxy_Central.h"
#include "apoyo/qt/Servidor_Colgado.h"
#include "apoyo/qt/Ventanas.h"
#include "app/qt/Icono_Bandeja.h"
#include "app/qt/frmSolicitudes.h"

namespace facturador::pruebas {
namespace {

// The main window with its modal windows replaced by a probe, counting the cycles it shows.
class Ventana_Probada : public frmAplicacion {
  public:
    void Mostrar_Status(const std::string& texto) override {
        ciclos += texto == "Sincronizando";
        frmAplicacion::Mostrar_Status(texto);
    }

    int ciclos = 0;
    std::function<void()> al_abrir_modal;

  protected:
    void Abrir_Ventana_Modal(Ventana_Modal) override {
        if (al_abrir_modal)
            al_abrir_modal();
    }
};

// A started program with its main window.
class Ventana_Test : public Prueba_App {
  protected:
    QString Texto(const char* nombre) { return Control_De<QLabel>(ventana, nombre)->text(); }
    QTimer* tmrTimer() { return Control_De<QTimer>(ventana, "tmrTimer"); }
    QTimer* tmrMostrar() { return Control_De<QTimer>(ventana, "tmrMostrar"); }
    void Clic(const char* nombre) {
        QTest::mouseClick(Control_De(ventana, nombre), Qt::LeftButton);
    }
    void Mostrar_Desde_Icono() {
        ventana.Evento_Bandeja(Mensaje_Bandeja(QSystemTrayIcon::Context));
    }

    Ventana_Probada ventana;
};

TEST_F(Ventana_Test, Arranca_Oculta_Y_Armada_Solo_Con_Base_Local_Y_El_Doble_Clic_La_Termina) {
    EXPECT_FALSE(ventana.Iniciar());
    EXPECT_FALSE(tmrTimer()->isActive());

    entorno.Crear_Bases_Locales();
    ASSERT_TRUE(ventana.Iniciar());
    EXPECT_TRUE(tmrTimer()->isActive());
    EXPECT_FALSE(tmrMostrar()->isActive());
    EXPECT_TRUE(ventana.isHidden());

    Mostrar_Desde_Icono();
    QTimer::singleShot(
        0, [&] { QTest::mouseDClick(Control_De(ventana, "lblEncabezado1"), Qt::LeftButton); });
    QTimer::singleShot(30000, [] { QCoreApplication::exit(1); });  // only a safety net
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(tmrTimer()->isActive());
}

TEST_F(Ventana_Test,
       Solo_El_Clic_Derecho_En_El_Icono_La_Muestra_Y_Tras_5_s_Se_Desliza_Hasta_Ocultarse) {
    for (auto razon : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick,
                       QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown}) {
        ventana.Evento_Bandeja(Mensaje_Bandeja(razon));
        EXPECT_TRUE(ventana.isHidden()) << razon;
        EXPECT_FALSE(tmrMostrar()->isActive()) << razon;
    }

    Configuracion().Proxima_Sincronizacion = "05/12/2026 10:15";
    Mostrar_Desde_Icono();
    EXPECT_TRUE(tmrMostrar()->isActive());
    EXPECT_EQ(tmrMostrar()->interval(), 5000);
    EXPECT_EQ(Texto("lblHora_Siguiente"), "05-12-26 10:15 hs.");
    const int arriba = ventana.y();
    for (int paso = 0; paso < 1000 && ventana.isVisible(); ++paso)
        ventana.tmrMostrar_Timer();
    EXPECT_TRUE(ventana.isHidden());
    EXPECT_GT(ventana.y(), ventana.screen()->geometry().height());
    EXPECT_FALSE(tmrMostrar()->isActive());

    // Opened again it comes back to its corner; the "X" during the slide hides it at once.
    Mostrar_Desde_Icono();
    EXPECT_EQ(ventana.y(), arriba);
    EXPECT_EQ(tmrMostrar()->interval(), 5000);
    ventana.tmrMostrar_Timer();
    Clic("lblCerrar");
    EXPECT_TRUE(ventana.isHidden());
    EXPECT_FALSE(tmrMostrar()->isActive());
}

TEST_F(Ventana_Test, Las_Ventanas_Modales_Detienen_Los_Timers_Y_A_Mitad_De_Ciclo_No_Lo_Rearman) {
    entorno.Crear_Bases_Locales();
    ASSERT_TRUE(ventana.Iniciar());
    Mostrar_Desde_Icono();
    for (const char* boton : {"cmdConfig", "cmdCancelar"}) {
        bool timers_activos_con_la_ventana_abierta = true;
        ventana.al_abrir_modal = [&] {
            timers_activos_con_la_ventana_abierta =
                tmrTimer()->isActive() || tmrMostrar()->isActive();
        };
        Clic(boton);
        EXPECT_FALSE(timers_activos_con_la_ventana_abierta) << boton;
        EXPECT_TRUE(tmrTimer()->isActive() && tmrMostrar()->isActive()) << boton;

        // While it works the console's buttons open no second window, and the timers stay off.
        int abiertas = 0;
        ventana.al_abrir_modal = [&] {
            if (++abiertas > 1)
                return;
            Clic("cmdConfig");
            Clic("cmdCancelar");
            timers_activos_con_la_ventana_abierta = tmrTimer()->isActive();
        };
        Clic(boton);
        EXPECT_EQ(abiertas, 1) << boton;
        EXPECT_FALSE(timers_activos_con_la_ventana_abierta) << boton;
        EXPECT_TRUE(tmrTimer()->isActive()) << boton;
    }
    EXPECT_EQ(ventana.ciclos, 0);

    // The configuration window opened at the cycle's event processing point.
    ventana.al_abrir_modal = nullptr;
    bool timer_al_cerrar_la_ventana = true;
    QMetaObject::invokeMethod(
        &ventana,
        [&] {
            Clic("cmdConfig");
            timer_al_cerrar_la_ventana = tmrTimer()->isActive();
        },
        Qt::QueuedConnection);
    Clic("cmdSincronizar");
    EXPECT_FALSE(timer_al_cerrar_la_ventana);
    EXPECT_TRUE(tmrTimer()->isActive());  // the interrupted cycle enabled it when it ended
    EXPECT_EQ(ventana.ciclos, 1);
    EXPECT_EQ(Texto("lblStatus"), "Sincronizar Ahora");
}

// After a cycle counting rejected requests their count and the stamping error log's link show:
// the program folder's log, else the worker's (Carpeta_Servicio), or why neither opens.
TEST_F(Ventana_Test, Tras_Un_Ciclo_Con_Rechazadas_El_Enlace_Abre_El_Log_De_Errores_De_Timbrado) {
    entorno.Crear_Bases_Locales();
    const Carpeta_Temporal servicio;
    Ejecutar_SQLite(Unir_Ruta(entorno.Carpeta(), "local.dll"),
                    "UPDATE Configuracion SET Carpeta_Servicio = '" + servicio.Ruta() + "'");
    ASSERT_TRUE(ventana.Iniciar());
    Ejecutar_Central("INSERT INTO Solicitudes_de_Facturas_OL (ID, Fecha, Status) VALUES (1, "
                     "'2026/12/01', 4), (2, '2026/12/01', 4)");
    Mostrar_Desde_Icono();
    EXPECT_FALSE(Control_De(ventana, "lblLog")->isVisible());
    Clic("cmdSincronizar");
    ASSERT_TRUE(Control_De(ventana, "lblLog")->isVisible());
    EXPECT_EQ(Texto("lblRechazadas"), "2 solicitudes rechazadas");
    EXPECT_EQ(Control_De(ventana, "lblRechazadas")->x(), Control_De(ventana, "lblLog")->x());
    Ejecutar_Central("UPDATE Solicitudes_de_Facturas_OL SET Status = 3 WHERE ID = 2");
    Clic("cmdSincronizar");
    EXPECT_EQ(Texto("lblRechazadas"), "1 solicitud rechazada");

    const std::string propio = Unir_Ruta(entorno.Carpeta(), "Log_Error_Timbrado.txt");
    const std::string del_servicio = Unir_Ruta(servicio.Ruta(), "Log_Error_Timbrado.txt");
    Clic("lblLog");
    std::filesystem::create_symlink(del_servicio, del_servicio);  // unreadable, even for root
    Clic("lblLog");
    std::filesystem::remove(del_servicio);
    Escribir_Archivo(del_servicio, "error");
    Clic("lblLog");
    Escribir_Archivo(propio, "error");
    Clic("lblLog");
    Configuracion().Carpeta_Servicio.clear();  // the worker is this folder's own program
    std::filesystem::remove(propio);
    Clic("lblLog");
    EXPECT_EQ(entorno.operador.Textos(),
              (std::vector<std::string>{
                  "advertencia: Atención / No hay registro de errores de timbrado: no existe " +
                      propio + " ni " + del_servicio + ".",
                  "advertencia: Atención / No se puede leer " + del_servicio +
                      ": Too many levels of symbolic links. La cuenta del operador debe "
                      "pertenecer al grupo facturador.",
                  "abrir:  / " + del_servicio, "abrir:  / " + propio,
                  "advertencia: Atención / No hay registro de errores de timbrado: no existe " +
                      propio + "."}));

    // One requests window at a time, in the mode it was opened for.
    const auto abiertas = [] {
        std::vector<std::string> titulos;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* v : QApplication::topLevelWidgets())
            if (qobject_cast<frmSolicitudes*>(v) && v->isVisible())
                titulos.push_back(v->windowTitle().toStdString());
        return titulos;
    };
    Clic("lblRechazadas");
    EXPECT_EQ(abiertas(), std::vector<std::string>{"Solicitudes rechazadas"});
    Clic("cmdSolicitudes");
    EXPECT_EQ(abiertas(), std::vector<std::string>{"Solicitudes"});
    for (QWidget* v : QApplication::topLevelWidgets())
        if (qobject_cast<frmSolicitudes*>(v))
            v->close();
}

// Beside a worker holding the lease, the tray opens the console while the server hangs on a cycle's
// query or a reactivation; the dropped connection is said and the next try works again.
TEST_F(Ventana_Test, Un_Servidor_Colgado_No_Congela_La_Consola) {
    entorno.Crear_Bases_Locales();
    Turno_Central trabajador("otra:/srv/f pid 1 #1", "otra:/srv/f pid ");
    ASSERT_EQ(trabajador.Asegurar(), Turno_Central::Estado::Tenido);
    ASSERT_TRUE(ventana.Iniciar());
    Ejecutar_Central("INSERT INTO Solicitudes_de_Facturas_OL (ID, Fecha, Status) VALUES (1, "
                     "'2026/12/01', 4)");
    // Whether the tray opens the window while `boton`'s work hangs on the statement `inicio`.
    const auto colgado_en = [&](const char* inicio, const char* boton) {
        bool atendida = false;
        Con_Servidor_Colgado(inicio, [&] { Clic(boton); }, [&] {
            ventana.hide();
            Mostrar_Desde_Icono();
            atendida = ventana.isVisible();
        });
        return atendida;
    };
    for (const auto& [inicio, paso] : std::vector<std::pair<const char*, const char*>>{
             {"SELECT Titular", "Tomar el turno de trabajo con la base de datos central"},
             {"SELECT COUNT(*), BIT_XOR", "Revisar si cambiaron los perfiles de emisión"},
             {"SELECT COUNT(ID)", "Contar solicitudes rechazadas"}}) {
        EXPECT_TRUE(colgado_en(inicio, "cmdSincronizar")) << inicio;
        EXPECT_FALSE(ventana.Ciclo().En_Curso()) << inicio;
        EXPECT_EQ(Texto("lblStatus"), "Sincronizar Ahora") << inicio;
        EXPECT_TRUE(Una_Vez(Leer_Log(), std::string("  -  ") + paso + "\r\n")) << inicio;
    }

    entorno.operador.respuestas = {true, true};
    EXPECT_TRUE(colgado_en("UPDATE Solicitudes_de_Facturas_OL", "cmdDesrechazar"));
    const auto avisos = entorno.operador.De_Tipo("advertencia");
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0].titulo + " / " + avisos[0].texto,
              "Se produjo un error / Se perdió la conexión con la base de datos central mientras "
              "se reactivaban las Solicitudes de Facturas rechazadas; no se sabe si quedaron "
              "reactivadas. Vuelva a pulsar DesRechazar para reactivarlas. Detalle: Lost "
              "connection to server during query");
    Clic("cmdDesrechazar");
    EXPECT_EQ(Solicitud(1, "Status"), "1");
    Clic("cmdSincronizar");
    EXPECT_FALSE(Control_De(ventana, "lblLog")->isVisible());
}

// Ending the program while the server hangs on the lease's renewal does not wait: the cycle drops
// the outcome, says so in the daily log, and the event loop is left.
TEST_F(Ventana_Test, Terminar_Con_El_Servidor_Colgado_No_Lo_Espera) {
    entorno.Crear_Bases_Locales();
    ASSERT_TRUE(ventana.Iniciar());
    const Proxy_Central proxy("UPDATE Turno_Facturador", Proxy_Central::Corte::Colgado);
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        if (proxy.Cortado())
            ventana.Terminar();
    });
    vigia.start(10);
    QTimer::singleShot(0, [&] { Clic("cmdSincronizar"); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(ventana.Ciclo().En_Curso());
    EXPECT_TRUE(Una_Vez(Leer_Log(),
                        "Error:  El programa terminó antes de que respondiera la base de datos "
                        "central  -  Tomar el turno de trabajo con la base de datos central"));
}

}  // namespace
}  // namespace facturador::pruebas

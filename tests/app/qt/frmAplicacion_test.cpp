#include "app/qt/frmAplicacion.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "../Apoyo_App.h"
#include "apoyo/qt/Ventanas.h"
#include "app/qt/Icono_Bandeja.h"
#include "app/qt/Linea_Comandos.h"

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
        EXPECT_TRUE(tmrTimer()->isActive()) << boton;
        EXPECT_TRUE(tmrMostrar()->isActive()) << boton;
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

// After a cycle that counts a rejected request the error-log link shows; a click opens the
// stamping error log of the program folder, which this program never writes itself.
TEST_F(Ventana_Test, Tras_Un_Ciclo_Con_Rechazadas_El_Enlace_Abre_El_Log_De_Errores_De_Timbrado) {
    entorno.Crear_Bases_Locales();
    ASSERT_TRUE(ventana.Iniciar());
    Ejecutar_Central(
        "INSERT INTO Solicitudes_de_Facturas_OL (ID, Fecha, Status) VALUES (1, '2026/12/01', 4)");
    Mostrar_Desde_Icono();
    EXPECT_FALSE(Control_De(ventana, "lblLog")->isVisible());
    Clic("cmdSincronizar");
    ASSERT_TRUE(Control_De(ventana, "lblLog")->isVisible());
    Clic("lblLog");
    EXPECT_EQ(entorno.operador.Textos(),
              std::vector<std::string>{"abrir:  / " +
                                       Unir_Ruta(entorno.Carpeta(), "Log_Error_Timbrado.txt")});
}

Linea_Comandos Leer(QStringList argumentos) {
    argumentos.prepend(QStringLiteral("facturador"));
    return Leer_Linea_Comandos(argumentos);
}

TEST(Linea_Comandos, Lee_Cada_Orden_Y_Rechaza_Lo_Que_No_Se_Puede_Usar) {
    Carpeta_Temporal carpeta;
    const QString ruta = QString::fromStdString(carpeta.Ruta());
    Linea_Comandos linea = Leer({"--sin-ventanas", "--carpeta", ruta + "/"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Programa);
    EXPECT_TRUE(linea.sin_ventanas);
    EXPECT_EQ(linea.carpeta, carpeta.Ruta());
    EXPECT_EQ(linea.error, "");

    linea = Leer({"--estado", "--json"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Estado);
    EXPECT_TRUE(linea.json);
    linea = Leer({"--reencolar", "42"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Reencolar);
    EXPECT_EQ(linea.id_solicitud, 42);
    linea = Leer({"--help"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Ayuda);
    for (const char* texto : {"Genera las facturas", "--help  ", "Muestra esta ayuda", "--version ",
                              "Muestra la versión", "--sin-ventanas ", "Corre sin ventana",
                              "--carpeta <carpeta> ", "Carpeta del programa", "--reencolar <id> ",
                              "Vuelve a escribir", "--estado ", "Informa cómo está", "--json ",
                              "Con --estado", "--carpetas-sucursal <id> ", "Guarda en el perfil"})
        EXPECT_NE(linea.ayuda.find(texto), std::string::npos) << texto << "\n" << linea.ayuda;
    EXPECT_EQ(Leer({"-v"}).orden, Linea_Comandos::Orden::Version);

    EXPECT_EQ(Leer({"--reencolar", "x"}).error, "El ID de solicitud no es un número: x");
    EXPECT_EQ(Leer({"--json"}).error, "--json solo acompaña a --estado.");
    EXPECT_EQ(Leer({"--estado", "--reencolar", "1"}).error,
              "--estado, --reencolar y --carpetas-sucursal no van juntos.");
    EXPECT_EQ(Leer({"--carpeta", ruta + "/no_existe"}).error,
              "La carpeta del programa no existe: " + carpeta.Ruta() + "/no_existe");
    EXPECT_EQ(Leer({"suelto"}).error, "Argumento no reconocido: suelto");
    EXPECT_NE(Leer({"--ventanas"}).error, "");

    linea = Leer({"--carpetas-sucursal", "2", ruta + "/c/", "v", "/nv"});
    EXPECT_EQ(linea.orden, Linea_Comandos::Orden::Carpetas_Sucursal);
    EXPECT_EQ(linea.id_sucursal, 2);
    const std::string aqui = QDir::currentPath().toStdString();
    EXPECT_EQ(linea.carpetas_sucursal,
              (std::vector{carpeta.Ruta() + "/c", aqui + "/v", std::string("/nv")}));
    EXPECT_NE(Leer({"--carpetas-sucursal", "2", "/cola"}).error, "");

    // Before Qt starts: what needs no display (a service), and what no window system at all.
    const std::vector<std::tuple<std::vector<const char*>, bool, bool>> crudos = {
        {{}, false, false},
        {{"--carpeta", "--estado", "--carpeta=/x"}, false, false},
        {{"--sin-ventanas", "--carpeta=/x"}, true, false},
        {{"--carpeta=/x", "--estado"}, true, true},
        {{"--carpetas"}, true, true}};
    for (auto [argumentos, sin_pantalla, consola] : crudos) {
        argumentos.insert(argumentos.begin(), "facturador");
        char** argv = const_cast<char**>(argumentos.data());
        const int argc = static_cast<int>(argumentos.size());
        EXPECT_EQ(Pide_Sin_Pantalla(argc, argv), sin_pantalla) << argc;
        EXPECT_EQ(Solo_Consola(argc, argv), consola) << argc;
    }
}

// The program folder: --carpeta, else FACTURADOR_CARPETA (a folder that exists), else the
// executable's (this one is not the installed /usr/bin/facturador).
TEST(Linea_Comandos, La_Carpeta_Del_Programa_Viene_De_La_Opcion_O_Del_Entorno) {
    Carpeta_Temporal carpeta;
    const QString ruta = QString::fromStdString(carpeta.Ruta());
    EXPECT_EQ(Leer({"--estado"}).carpeta, "");
    qputenv("FACTURADOR_CARPETA", ruta.toUtf8() + "/");
    EXPECT_EQ(Leer({"--estado"}).carpeta, carpeta.Ruta());
    EXPECT_EQ(Leer({"--carpeta", "/"}).carpeta, "/");
    qputenv("FACTURADOR_CARPETA", "/no/existe");
    EXPECT_EQ(Leer({}).error, "La carpeta del programa no existe: /no/existe (FACTURADOR_CARPETA)");
    qunsetenv("FACTURADOR_CARPETA");
}

}  // namespace
}  // namespace facturador::pruebas

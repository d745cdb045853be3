#include "app/qt/frmAplicacion.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>

#include "apoyo/Bd_Central.h"
#include "apoyo/Entorno_Pruebas.h"
#include "app/Estado_Aplicacion.h"
#include "app/qt/Icono_Bandeja.h"
#include "data/Configuracion.h"
#include "data/Sucursales.h"

namespace facturador::pruebas {
namespace {

// The main window with its modal windows replaced by a probe, counting the cycles it shows.
class Ventana_Probada : public frmAplicacion {
  public:
    void Mostrar_Status(const std::string& texto) override {
        if (texto == "Sincronizando")
            ++ciclos;
        frmAplicacion::Mostrar_Status(texto);
    }

    int ciclos = 0;
    std::function<void(Ventana_Modal)> al_abrir_modal;

  protected:
    void Abrir_Ventana_Modal(Ventana_Modal ventana) override {
        if (al_abrir_modal)
            al_abrir_modal(ventana);
    }
};

class Ventana_Test : public testing::Test {
  protected:
    Ventana_Test() {
        Reiniciar_Estado_Aplicacion();
        Reiniciar_Configuracion();
        Reiniciar_Sucursales();
        Vaciar_Base_Central();
    }

    template <typename Control = QWidget>
    Control* Control_(const char* nombre) {
        Control* control = ventana.findChild<Control*>(QString::fromLatin1(nombre));
        EXPECT_NE(control, nullptr) << nombre;
        return control;
    }
    QString Texto(const char* nombre) { return Control_<QLabel>(nombre)->text(); }
    QTimer* tmrTimer() { return Control_<QTimer>("tmrTimer"); }
    QTimer* tmrMostrar() { return Control_<QTimer>("tmrMostrar"); }
    void Clic(const char* nombre) { QTest::mouseClick(Control_(nombre), Qt::LeftButton); }
    void Mostrar_Desde_Icono() {
        ventana.Evento_Bandeja(Mensaje_Bandeja(QSystemTrayIcon::Context));
    }
    // Runs `accion` at the next point where the window processes its events.
    void Al_Procesar_Eventos(std::function<void()> accion) {
        QMetaObject::invokeMethod(&ventana, std::move(accion), Qt::QueuedConnection);
    }

    Entorno_Pruebas entorno;
    Ventana_Probada ventana;
};

TEST_F(Ventana_Test, Tiene_Los_Controles_Con_Sus_Nombres_Y_Textos) {
    EXPECT_EQ(ventana.objectName(), "frmAplicacion");
    EXPECT_TRUE(ventana.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_NE(Control_("picFondo"), nullptr);
    EXPECT_EQ(Texto("lblEncabezado1"), "Ultima Sincronización");
    EXPECT_EQ(Texto("lblUltima"), "Última Realizada:");
    EXPECT_EQ(Texto("lblUltima_Exitosa"), "Última Exitosa:");
    EXPECT_EQ(Texto("lblEncabezado2"), "Próxima:");
    EXPECT_EQ(Texto("lblStatus"), "Exitosa");
    EXPECT_EQ(Texto("lblCerrar"), "X");
    EXPECT_EQ(Texto("lblLog"), "Ver Errores de Timbrados");
    EXPECT_TRUE(Control_("lblLog")->isHidden());
    EXPECT_TRUE(Control_("lblArchivo")->isHidden());
    for (const char* etiqueta :
         {"lblHora_Ultima", "lblHora_Ultima_Exitosa", "lblHora_Siguiente", "lblVersion"})
        EXPECT_NE(Control_<QLabel>(etiqueta), nullptr);
    EXPECT_EQ(Control_<QPushButton>("cmdSincronizar")->text(), "Sincronizar");
    EXPECT_EQ(Control_<QPushButton>("cmdConfig")->text(), "Configuración");
    EXPECT_EQ(Control_<QPushButton>("cmdCancelar")->text(), "Cancelar");
    EXPECT_EQ(Control_<QPushButton>("cmdDesrechazar")->text(), "DesRechazar");
    EXPECT_EQ(tmrTimer()->interval(), 1000);
    EXPECT_FALSE(tmrTimer()->isActive());
    EXPECT_FALSE(tmrMostrar()->isActive());
}

TEST_F(Ventana_Test, El_Arranque_Deja_La_Ventana_Oculta_Con_El_Ciclo_Armado) {
    entorno.Crear_Bases_Locales();
    ASSERT_TRUE(ventana.Iniciar());

    EXPECT_EQ(Texto("lblVersion"), "V. 5.3.0");
    EXPECT_EQ(Texto("lblEncabezado1"), "Generador de Facturas Solicitadas On Line");
    EXPECT_EQ(Control_("lblEncabezado1")->font().pointSize(), 8);
    EXPECT_EQ(Control_("lblUltima")->font().pointSize(), 7);
    EXPECT_EQ(Control_("lblUltima_Exitosa")->font().pointSize(), 7);
    // Empty run history: today with no time, the successful run at 08:01, the next at 00:00.
    EXPECT_EQ(Texto("lblHora_Ultima"), "05-12-26   hs.");
    EXPECT_EQ(Texto("lblHora_Ultima_Exitosa"), "05-12-26  08:01 hs.");
    EXPECT_EQ(Texto("lblHora_Siguiente"), "05-12-26 00:00 hs.");
    EXPECT_TRUE(tmrTimer()->isActive());
    EXPECT_FALSE(tmrMostrar()->isActive());
    EXPECT_TRUE(ventana.isHidden());
}

TEST_F(Ventana_Test, Sin_Base_Local_El_Arranque_Pide_La_Ubicacion_Y_No_Sigue) {
    ASSERT_FALSE(ventana.Iniciar());
    EXPECT_EQ(entorno.operador.De_Tipo("ruta_bd").size(), 1u);
    EXPECT_FALSE(tmrTimer()->isActive());
}

TEST_F(Ventana_Test, Solo_El_Boton_Derecho_Sobre_El_Icono_Abre_La_Ventana) {
    EXPECT_EQ(Mensaje_Bandeja(QSystemTrayIcon::Context), 516);
    for (auto razon : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick,
                       QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown}) {
        ventana.Evento_Bandeja(Mensaje_Bandeja(razon));
        EXPECT_TRUE(ventana.isHidden()) << razon;
        EXPECT_FALSE(tmrMostrar()->isActive()) << razon;
    }

    Configuracion().Proxima_Sincronizacion = "05/12/2026 10:15";
    Mostrar_Desde_Icono();
    EXPECT_TRUE(ventana.isVisible());
    EXPECT_TRUE(tmrMostrar()->isActive());
    EXPECT_EQ(tmrMostrar()->interval(), 5000);
    EXPECT_EQ(Texto("lblHora_Siguiente"), "05-12-26 10:15 hs.");
    const QScreen* pantalla = ventana.screen();
    EXPECT_EQ(ventana.x(), pantalla->geometry().width() - ventana.width() - 3);
    EXPECT_EQ(ventana.y(), pantalla->availableGeometry().height() - ventana.height() - 34);
}

TEST_F(Ventana_Test, Tras_La_Espera_Se_Desliza_Hacia_Abajo_Hasta_Ocultarse) {
    Mostrar_Desde_Icono();
    const int arriba = ventana.y();
    ventana.tmrMostrar_Timer();
    EXPECT_EQ(tmrMostrar()->interval(), 50);
    EXPECT_EQ(ventana.y(), arriba + 4);

    const int alto_pantalla = ventana.screen()->geometry().height();
    for (int paso = 0; paso < 1000 && ventana.isVisible(); ++paso)
        ventana.tmrMostrar_Timer();
    EXPECT_TRUE(ventana.isHidden());
    EXPECT_GT(ventana.y(), alto_pantalla);
    EXPECT_FALSE(tmrMostrar()->isActive());

    // Opened again from the icon it comes back to its corner and waits 5 seconds again.
    Mostrar_Desde_Icono();
    EXPECT_EQ(ventana.y(), arriba);
    EXPECT_EQ(tmrMostrar()->interval(), 5000);
}

TEST_F(Ventana_Test, Minimizada_No_Se_Mueve_Y_El_Timer_Sigue) {
    Mostrar_Desde_Icono();
    ventana.tmrMostrar_Timer();
    ventana.setWindowState(Qt::WindowMinimized);
    const int arriba = ventana.y();
    ventana.tmrMostrar_Timer();
    EXPECT_EQ(ventana.y(), arriba);
    EXPECT_TRUE(tmrMostrar()->isActive());
}

TEST_F(Ventana_Test, La_X_Durante_El_Deslizamiento_Oculta_De_Inmediato) {
    Mostrar_Desde_Icono();
    ventana.tmrMostrar_Timer();
    ventana.tmrMostrar_Timer();
    Clic("lblCerrar");
    EXPECT_TRUE(ventana.isHidden());
    EXPECT_FALSE(tmrMostrar()->isActive());
}

TEST_F(Ventana_Test, Las_Ventanas_Modales_Detienen_Ambos_Timers_Mientras_Estan_Abiertas) {
    entorno.Crear_Bases_Locales();
    ASSERT_TRUE(ventana.Iniciar());
    Mostrar_Desde_Icono();
    for (const char* boton : {"cmdConfig", "cmdCancelar"}) {
        bool timers_activos_con_la_ventana_abierta = true;
        ventana.al_abrir_modal = [&](Ventana_Modal) {
            timers_activos_con_la_ventana_abierta =
                tmrTimer()->isActive() || tmrMostrar()->isActive();
        };
        Clic(boton);
        EXPECT_FALSE(timers_activos_con_la_ventana_abierta) << boton;
        EXPECT_TRUE(tmrTimer()->isActive()) << boton;
        EXPECT_TRUE(tmrMostrar()->isActive()) << boton;
    }
    EXPECT_EQ(ventana.ciclos, 0);
}

TEST_F(Ventana_Test, Un_Segundo_Sincronizar_Durante_El_Ciclo_No_Inicia_Otro) {
    entorno.Crear_Bases_Locales();
    ASSERT_TRUE(ventana.Iniciar());
    Mostrar_Desde_Icono();
    bool pulsado_durante_el_ciclo = false;
    Al_Procesar_Eventos([&] {
        pulsado_durante_el_ciclo = ventana.Ciclo().En_Curso();
        Clic("cmdSincronizar");
    });
    Clic("cmdSincronizar");
    EXPECT_TRUE(pulsado_durante_el_ciclo);
    EXPECT_EQ(ventana.ciclos, 1);
    EXPECT_EQ(Texto("lblStatus"), "Sincronizar Ahora");
    EXPECT_TRUE(tmrTimer()->isActive());
}

TEST_F(Ventana_Test, Una_Ventana_Cerrada_A_Mitad_De_Ciclo_No_Rearma_El_Timer) {
    entorno.Crear_Bases_Locales();
    ASSERT_TRUE(ventana.Iniciar());
    Mostrar_Desde_Icono();
    bool timer_al_cerrar_la_ventana = true;
    Al_Procesar_Eventos([&] {
        Clic("cmdConfig");
        timer_al_cerrar_la_ventana = tmrTimer()->isActive();
    });
    Clic("cmdSincronizar");
    EXPECT_FALSE(timer_al_cerrar_la_ventana);
    // The interrupted cycle enabled it when it ended.
    EXPECT_TRUE(tmrTimer()->isActive());
    EXPECT_EQ(ventana.ciclos, 1);
}

TEST_F(Ventana_Test, El_Doble_Clic_En_El_Encabezado_Termina_El_Programa) {
    entorno.Crear_Bases_Locales();
    ASSERT_TRUE(ventana.Iniciar());
    Mostrar_Desde_Icono();
    QTimer::singleShot(0, [&] { QTest::mouseDClick(Control_("lblEncabezado1"), Qt::LeftButton); });
    // Only a safety net: the double click ends the event loop long before.
    QTimer::singleShot(30000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(tmrTimer()->isActive());
}

}  // namespace
}  // namespace facturador::pruebas

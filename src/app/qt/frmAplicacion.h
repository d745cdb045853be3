#pragma once

#include <QWidget>

#include "app/Ciclo_Sincronizacion.h"

class QLabel;
class QPushButton;
class QTimer;

namespace facturador {

class Etiqueta_Pulsable;
class Fondo_Aplicacion;
class Icono_Bandeja;

// The operator windows the main window opens modally, with both timers stopped meanwhile.
enum class Ventana_Modal { Configuracion_Facturas, Cancelar_Factura };

// The main window: a small frameless panel in the bottom right corner that shows the run times
// and the cycle status, opened from the notification-area icon and hidden again on its own.
// It owns the cycle timer and the synchronization cycle that the timer drives.
class frmAplicacion : public QWidget, public Vista_Ciclo {
    Q_OBJECT

  public:
    explicit frmAplicacion(QWidget* padre = nullptr);
    ~frmAplicacion() override;

    // The start-up sequence, run once the single-instance check has passed. Answers false when
    // the program must end instead of entering its event loop.
    bool Iniciar();

    // Vista_Ciclo
    void Mostrar_Status(const std::string& texto) override;
    void Mostrar_Ver_Errores(bool visible) override;
    void Mostrar_Rechazadas(long long cuantas) override;
    void Mostrar_Datos() override;
    void Procesar_Eventos() override;
    void Habilitar_Timer(bool habilitado) override;
    bool Timer_Habilitado() const override;
    void Habilitar_Ocultamiento(bool habilitado) override;
    // The cycle's queries run off the window's thread (Esperar_Sin_Congelar), each on a
    // connection of its own.
    bool Ejecutar_Consulta(const std::function<void(const Abrir_Central&)>& consulta) override;

    // The icon event with its old message number; only the right button (516) opens the window.
    void Evento_Bandeja(int mensaje);
    void Programar_Ocultamiento();
    void tmrMostrar_Timer();
    void lblCerrar_Click();
    void cmdConfig_Click();
    void cmdCancelar_Click();
    // The requests window: all requests, or the rejected ones by reason (lblRechazadas).
    void cmdSolicitudes_Click();
    void lblRechazadas_Click();
    // Ends the program: the icon goes first, then the event loop is left with exit code 0.
    void Terminar();
    void Quitar_Icono_Bandeja();

    Ciclo_Sincronizacion& Ciclo() { return ciclo_; }

  protected:
    // Where the configuration and cancellation windows are shown, modally, owned by this window.
    virtual void Abrir_Ventana_Modal(Ventana_Modal ventana);
    void closeEvent(QCloseEvent* evento) override;

  private:
    void Crear_Controles();
    void Crear_Botones();
    void Acomodar_Controles();
    void Conectar_Eventos();
    void Colocar_En_Esquina();
    void Colocar_Icono_Bandeja();
    void Colocar_Icono_Si_Falta();
    void Poner_Encabezado();
    void Abrir_Con_Timers_Detenidos(Ventana_Modal ventana);

    Fondo_Aplicacion* picFondo = nullptr;
    Etiqueta_Pulsable* lblEncabezado1 = nullptr;
    QLabel* lblUltima = nullptr;
    QLabel* lblHora_Ultima = nullptr;
    QLabel* lblUltima_Exitosa = nullptr;
    QLabel* lblHora_Ultima_Exitosa = nullptr;
    QLabel* lblEncabezado2 = nullptr;
    QLabel* lblHora_Siguiente = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* lblVersion = nullptr;
    Etiqueta_Pulsable* lblLog = nullptr;
    Etiqueta_Pulsable* lblRechazadas = nullptr;
    QLabel* lblArchivo = nullptr;
    Etiqueta_Pulsable* lblCerrar = nullptr;
    QPushButton* cmdSincronizar = nullptr;
    QPushButton* cmdConfig = nullptr;
    QPushButton* cmdCancelar = nullptr;
    QPushButton* cmdDesrechazar = nullptr;
    QPushButton* cmdSolicitudes = nullptr;
    QTimer* tmrTimer = nullptr;
    QTimer* tmrMostrar = nullptr;
    Icono_Bandeja* bandeja_ = nullptr;

    // False during the first, long wait of the auto-hide timer; true once the window slides away.
    bool Ocultando = false;
    bool terminado_ = false;
    // A configuration or cancellation window is open, or loading before it shows: the tray and
    // the buttons still answer meanwhile, and must not open a second one inside it.
    bool ventana_modal_abierta_ = false;
    Ciclo_Sincronizacion ciclo_;
};

}  // namespace facturador

#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Acciones_Solicitud.h"
#include "app/Busqueda_Solicitudes.h"
#include "app/qt/Hilo_Consultas.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace facturador {

class Modelo_Solicitudes;

// "Solicitudes": the operator finds any request by ID, ticket, RFC, customer name, branch, status
// and request date, newest first, a page at a time, sortable by any column; Enter or a double click
// opens its story. Opened from the rejected-count label it shows the rejected requests grouped by
// reason, so that those of one reason, or chosen ones, are reactivated. Everything the database
// does for it runs on the window's own thread and connection (Hilo_Consultas): the window and the
// tray stay responsive while a search waits on a slow server, and a failure is told in the window.
class frmSolicitudes : public QDialog {
    Q_OBJECT

  public:
    enum class Modo { Todas, Rechazadas };

    explicit frmSolicitudes(Modo modo, QWidget* padre = nullptr);
    ~frmSolicitudes() override;

    void cmdBuscar_Click();
    void cmdLimpiar_Click();
    void cmdAnterior_Click();
    void cmdSiguiente_Click();
    void cmdVer_Click();
    void cmdReactivar_Click();
    void cmdReactivar_Motivo_Click();
    void cmdTodos_Motivos_Click();
    // Database work asked for and not yet answered (a search, the reasons, a reactivation).
    bool Ocupada() const { return hilo_.Pendientes() > 0; }

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    void Crear_Controles();
    void Crear_Filtros();
    void Crear_Motivos();
    void Disponer_Controles();
    void Conectar_Eventos();
    std::optional<Criterios_Busqueda> Leer_Criterios();
    void Buscar(const Criterios_Busqueda& criterios);
    void Mostrar_Pagina(const Pagina_Solicitudes& pagina, const Indices_Busqueda& indices);
    void Mostrar_Estado(const QString& texto, bool falla = false);
    void Cargar_Motivos();
    void Mostrar_Motivos(const std::vector<Motivo_Rechazo>& motivos);
    void Motivo_Elegido();
    void Reactivar(std::function<Reactivacion(Conexion&)> accion,
                   const QString& pregunta);
    void Abrir_Historia(int fila);

    QLineEdit* txtID = nullptr;
    QLineEdit* txtTicket = nullptr;
    QLineEdit* txtRFC = nullptr;
    QLineEdit* txtCliente = nullptr;
    QComboBox* cboSucursal = nullptr;
    QComboBox* cboStatus = nullptr;
    QLineEdit* txtDesde = nullptr;
    QLineEdit* txtHasta = nullptr;
    QPushButton* cmdBuscar = nullptr;
    QPushButton* cmdLimpiar = nullptr;
    QGroupBox* fraMotivos = nullptr;
    QTableView* tblMotivos = nullptr;
    QStandardItemModel* modelo_motivos_ = nullptr;
    QPushButton* cmdReactivar_Motivo = nullptr;
    QPushButton* cmdTodos_Motivos = nullptr;
    QTableView* tblSolicitudes = nullptr;
    Modelo_Solicitudes* modelo_ = nullptr;
    QPushButton* cmdAnterior = nullptr;
    QLabel* lblPagina = nullptr;
    QPushButton* cmdSiguiente = nullptr;
    QPushButton* cmdVer = nullptr;
    QPushButton* cmdReactivar = nullptr;
    QPushButton* cmdCerrar = nullptr;
    QLabel* lblEstado = nullptr;
    QLabel* lblIndices = nullptr;

    Modo modo_;
    Hilo_Consultas hilo_;
    Criterios_Busqueda mostrada_;  // the search whose page is shown (or asked for last)
    int busqueda_ = 0;             // the number of the last search asked for; older answers go
    std::vector<Motivo_Rechazo> motivos_;
    QString aviso_;  // what an action did, told with the next page shown
};

// The window, one per program, created on first use and shown in front; in the mode asked for.
frmSolicitudes* Mostrar_Solicitudes(frmSolicitudes::Modo modo);

}  // namespace facturador

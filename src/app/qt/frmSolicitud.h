#pragma once

#include <QDialog>

#include <optional>

#include "app/Bitacora_Solicitud.h"
#include "app/Historia_Solicitud.h"
#include "app/qt/Hilo_Consultas.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class QTimer;

namespace facturador {

// The story of one request ("Solicitud N"): every field, its status in words and its reason, its
// invoice, invoiced amount and stored documents, where its files are now, the daily-log lines that
// name it and its re-queue asks. From here the operator opens the stamped PDF or XML, copies the
// UUID, reactivates it when rejected and asks the worker to re-queue it when --reencolar's
// conditions hold; an ask is followed until the worker has done it. Reads and writes run on the
// window's own thread and connection.
class frmSolicitud : public QDialog {
    Q_OBJECT

  public:
    explicit frmSolicitud(QWidget* padre = nullptr);
    ~frmSolicitud() override;

    // Reads the story of request `id` again and shows it.
    void Mostrar(int32_t id);
    int32_t ID() const { return id_; }
    const std::optional<Historia_Solicitud>& Historia() const { return historia_; }
    bool Ocupada() const { return hilo_.Pendientes() > 0; }

    void cmdAbrir_PDF_Click();
    void cmdAbrir_XML_Click();
    void cmdCopiar_UUID_Click();
    void cmdReactivar_Click();
    void cmdReencolar_Click();
    void cmdActualizar_Click();

  private:
    struct Lectura {
        std::optional<Historia_Solicitud> historia;
        Lineas_Bitacora bitacora;
    };

    void Crear_Controles();
    QWidget* Crear_Pagina_Factura();
    QWidget* Crear_Pagina_Archivos();
    QWidget* Crear_Pagina_Bitacora();
    void Disponer_Controles();
    void Conectar_Eventos();
    void Mostrar_Lectura(const Lectura& lectura);
    void Llenar_Datos(const Historia_Solicitud& h);
    void Llenar_Factura(const Historia_Solicitud& h);
    void Llenar_Archivos(const Historia_Solicitud& h);
    void Llenar_Pedidos(const Historia_Solicitud& h);
    void Habilitar_Acciones();
    // Opens the stamped document in the valid folder, or else the one stored in the database.
    void Abrir_Comprobante(const std::string& en_validas, const std::string& tipo);
    void Mostrar_Estado(const QString& texto, bool falla = false);

    QLabel* lblTitulo = nullptr;
    QLabel* lblMotivo = nullptr;
    QTabWidget* tabHistoria = nullptr;
    QTableView* tblCampos = nullptr;
    QTableView* tblFactura = nullptr;
    QTableView* tblMontos = nullptr;
    QTableView* tblDocumentos = nullptr;
    QTableView* tblArchivos = nullptr;
    QLabel* lblAviso_Archivos = nullptr;
    QPlainTextEdit* txtBitacora = nullptr;
    QLabel* lblAlcance = nullptr;
    QTableView* tblPedidos = nullptr;
    QPushButton* cmdAbrir_PDF = nullptr;
    QPushButton* cmdAbrir_XML = nullptr;
    QPushButton* cmdCopiar_UUID = nullptr;
    QPushButton* cmdReactivar = nullptr;
    QPushButton* cmdReencolar = nullptr;
    QPushButton* cmdActualizar = nullptr;
    QPushButton* cmdCerrar = nullptr;
    QLabel* lblEstado = nullptr;
    QTimer* tmrPedido = nullptr;

    Hilo_Consultas hilo_;
    int32_t id_ = 0;
    int lectura_ = 0;  // the number of the last reading asked for; older answers go
    std::optional<Historia_Solicitud> historia_;
    QString aviso_;  // what an action did, told once the story is read again
};

// The story window, one per program, created on first use, showing request `id` in front.
frmSolicitud* Mostrar_Historia_Solicitud(int32_t id);

}  // namespace facturador

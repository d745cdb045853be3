#include "app/qt/frmSolicitudes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "app/qt/Controles_Consola.h"
#include "app/qt/Modelo_Solicitudes.h"
#include "app/qt/frmSolicitud.h"
#include "data/Conexiones.h"
#include "data/Sucursales.h"
#include "data/Valores_Campo.h"
#include "platform/Entorno.h"
#include "ui/qt/Teclado.h"

namespace facturador {

namespace {

constexpr const char* kTitulo_Confirmar = "ATENCION";
constexpr const char* kReactivaciones_Sin_Confirmar =
    "Se perdió la conexión con la base de datos central al confirmar la reactivación; no se sabe "
    "si las solicitudes quedaron reactivadas: la búsqueda muestra su estado. ";
constexpr const char* kFaltan_Indices =
    "Falta el índice de búsqueda en la base central, o parte de él: las búsquedas por cliente, "
    "R.F.C., ticket o fechas pueden tardar (el README dice cómo crearlo).";

// An optional whole number of a box; false when the box holds something else.
bool Leer_Numero_Caja(const QLineEdit* caja, std::optional<int32_t>& numero) {
    const std::string texto = caja->text().trimmed().toStdString();
    numero = texto.empty() ? std::nullopt : Leer_Entero(texto);
    return texto.empty() || numero.has_value();
}

bool Leer_Fecha_Caja(const QLineEdit* caja, std::optional<Fecha_Hora>& fecha) {
    const std::string texto = caja->text().trimmed().toStdString();
    fecha = texto.empty() ? std::nullopt : Leer_Fecha_Hora(texto);
    return texto.empty() || (fecha && fecha->Anio > 1899);
}

}  // namespace

frmSolicitudes::frmSolicitudes(Modo modo, QWidget* padre)
    : QDialog(padre), modo_(modo), hilo_(Cadena_Central_de_Operacion(), this) {
    setObjectName("frmSolicitudes");
    setWindowTitle(modo == Modo::Rechazadas ? "Solicitudes rechazadas" : "Solicitudes");
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
    Crear_Controles();
    Disponer_Controles();
    Conectar_Eventos();
    if (modo == Modo::Rechazadas) {
        cboStatus->setCurrentIndex(cboStatus->findData(4));
        Cargar_Motivos();
    }
    fraMotivos->setVisible(modo == Modo::Rechazadas);
    cmdBuscar_Click();
    txtCliente->setFocus();
}

frmSolicitudes::~frmSolicitudes() = default;

void frmSolicitudes::Crear_Controles() {
    Crear_Filtros();
    Crear_Motivos();
    tblSolicitudes = Tabla_Consola(this, "tblSolicitudes");
    modelo_ = new Modelo_Solicitudes(this);
    tblSolicitudes->setModel(modelo_);
    tblSolicitudes->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
    tblSolicitudes->setSortingEnabled(true);
    tblSolicitudes->installEventFilter(this);
    cmdAnterior = Boton_Consola("< Anterior", this, "cmdAnterior");
    lblPagina = Con_Nombre(new QLabel(this), "lblPagina");
    cmdSiguiente = Boton_Consola("Siguiente >", this, "cmdSiguiente");
    cmdVer = Boton_Consola("Ver solicitud", this, "cmdVer");
    cmdReactivar = Boton_Consola("Reactivar seleccionadas", this, "cmdReactivar");
    cmdCerrar = Boton_Consola("Cerrar", this, "cmdCerrar");
    lblEstado = Con_Nombre(new QLabel(this), "lblEstado");
    lblEstado->setWordWrap(true);
    lblIndices = Con_Nombre(new QLabel(QString::fromUtf8(kFaltan_Indices), this), "lblIndices");
    lblIndices->setWordWrap(true);
    lblIndices->setStyleSheet("color: #8a5a00;");
    lblIndices->hide();
}

void frmSolicitudes::Crear_Filtros() {
    txtID = Con_Nombre(new QLineEdit(this), "txtID");
    txtTicket = Con_Nombre(new QLineEdit(this), "txtTicket");
    txtRFC = Con_Nombre(new QLineEdit(this), "txtRFC");
    txtCliente = Con_Nombre(new QLineEdit(this), "txtCliente");
    txtCliente->setPlaceholderText(QString::fromUtf8("nombre o parte de él"));
    cboSucursal = Con_Nombre(new QComboBox(this), "cboSucursal");
    cboSucursal->addItem("Todas");
    for (const Sucursal& s : Sucursales_Cargadas())
        cboSucursal->addItem(QString::number(s.ID) + " " + Texto(s.Nombre), s.ID);
    cboStatus = Con_Nombre(new QComboBox(this), "cboStatus");
    cboStatus->addItem("Todos");
    for (int status = 1; status <= 4; ++status)
        cboStatus->addItem(Texto(Status_en_Palabras(status)), status);
    txtDesde = Con_Nombre(new QLineEdit(this), "txtDesde");
    txtHasta = Con_Nombre(new QLineEdit(this), "txtHasta");
    for (QLineEdit* fecha : {txtDesde, txtHasta})
        fecha->setPlaceholderText("dd/mm/aaaa");
    cmdBuscar = Boton_Consola("Buscar", this, "cmdBuscar");
    cmdLimpiar = Boton_Consola("Limpiar", this, "cmdLimpiar");
    const auto buscar = [this] { cmdBuscar_Click(); };
    Instalar_Teclado(txtID, Filtro_Caja::Solo_Numeros, Enter_Caja::Descartar, buscar);
    Instalar_Teclado(txtTicket, Filtro_Caja::Solo_Numeros, Enter_Caja::Descartar, buscar);
    Instalar_Teclado(txtRFC, Filtro_Caja::Mayusculas, Enter_Caja::Descartar, buscar);
    for (QWidget* caja :
         std::initializer_list<QWidget*>{txtCliente, cboSucursal, cboStatus, txtDesde, txtHasta})
        Instalar_Teclado(caja, Filtro_Caja::Ninguno, Enter_Caja::Descartar, buscar);
}

void frmSolicitudes::Crear_Motivos() {
    fraMotivos =
        Con_Nombre(new QGroupBox(QString::fromUtf8("Rechazadas por motivo"), this), "fraMotivos");
    tblMotivos = Tabla_Consola(fraMotivos, "tblMotivos");
    modelo_motivos_ = new QStandardItemModel(0, 2, this);
    modelo_motivos_->setHorizontalHeaderLabels({"Motivo", "Solicitudes"});
    tblMotivos->setModel(modelo_motivos_);
    tblMotivos->setSelectionMode(QAbstractItemView::SingleSelection);
    tblMotivos->horizontalHeader()->setStretchLastSection(false);
    tblMotivos->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    tblMotivos->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    tblMotivos->setMaximumHeight(160);
    cmdReactivar_Motivo =
        Boton_Consola("Reactivar las de este motivo", fraMotivos, "cmdReactivar_Motivo");
    cmdReactivar_Motivo->setEnabled(false);
    cmdTodos_Motivos = Boton_Consola("Todos los motivos", fraMotivos, "cmdTodos_Motivos");
    auto* botones = new QHBoxLayout;
    botones->addWidget(cmdTodos_Motivos);
    botones->addStretch(1);
    botones->addWidget(cmdReactivar_Motivo);
    auto* caja = new QVBoxLayout(fraMotivos);
    caja->addWidget(tblMotivos);
    caja->addLayout(botones);
}

void frmSolicitudes::Disponer_Controles() {
    auto* filtros = new QGridLayout;
    const auto fila = [&](int renglon, int columna, const char* titulo, QWidget* control) {
        auto* etiqueta = new QLabel(QString::fromUtf8(titulo), this);
        etiqueta->setBuddy(control);
        filtros->addWidget(etiqueta, renglon, columna);
        filtros->addWidget(control, renglon, columna + 1);
    };
    fila(0, 0, "ID", txtID);
    fila(0, 2, "Ticket", txtTicket);
    fila(0, 4, "R.F.C.", txtRFC);
    fila(0, 6, "Cliente", txtCliente);
    fila(1, 0, "Sucursal", cboSucursal);
    fila(1, 2, "Status", cboStatus);
    fila(1, 4, "Desde", txtDesde);
    fila(1, 6, "Hasta", txtHasta);
    filtros->addWidget(cmdBuscar, 0, 8);
    filtros->addWidget(cmdLimpiar, 1, 8);
    for (const int columna : {1, 3, 5})
        filtros->setColumnStretch(columna, 1);
    filtros->setColumnStretch(7, 3);
    auto* paginas = new QHBoxLayout;
    paginas->addWidget(cmdAnterior);
    paginas->addWidget(lblPagina);
    paginas->addWidget(cmdSiguiente);
    paginas->addStretch(1);
    paginas->addWidget(cmdVer);
    paginas->addWidget(cmdReactivar);
    paginas->addWidget(cmdCerrar);
    auto* ventana = new QVBoxLayout(this);
    ventana->addLayout(filtros);
    ventana->addWidget(lblIndices);
    ventana->addWidget(fraMotivos);
    ventana->addWidget(tblSolicitudes, 1);
    ventana->addWidget(lblEstado);
    ventana->addLayout(paginas);
    setMinimumSize(1000, 560);
}

void frmSolicitudes::Conectar_Eventos() {
    connect(cmdBuscar, &QPushButton::clicked, this, &frmSolicitudes::cmdBuscar_Click);
    connect(cmdLimpiar, &QPushButton::clicked, this, &frmSolicitudes::cmdLimpiar_Click);
    connect(cmdAnterior, &QPushButton::clicked, this, &frmSolicitudes::cmdAnterior_Click);
    connect(cmdSiguiente, &QPushButton::clicked, this, &frmSolicitudes::cmdSiguiente_Click);
    connect(cmdVer, &QPushButton::clicked, this, &frmSolicitudes::cmdVer_Click);
    connect(cmdReactivar, &QPushButton::clicked, this, &frmSolicitudes::cmdReactivar_Click);
    connect(cmdReactivar_Motivo, &QPushButton::clicked, this,
            &frmSolicitudes::cmdReactivar_Motivo_Click);
    connect(cmdTodos_Motivos, &QPushButton::clicked, this, &frmSolicitudes::cmdTodos_Motivos_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    connect(tblSolicitudes, &QTableView::doubleClicked, this,
            [this](const QModelIndex& indice) { Abrir_Historia(indice.row()); });
    connect(modelo_, &Modelo_Solicitudes::Orden_Pedido, this,
            [this](Columna_Solicitudes columna, bool descendente) {
                Criterios_Busqueda criterios = mostrada_;
                criterios.Orden = columna;
                criterios.Descendente = descendente;
                criterios.Pagina = 0;
                Buscar(criterios);
            });
    connect(tblMotivos->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmSolicitudes::Motivo_Elegido);
}

// Enter on the results opens the request under the cursor, as a double click does.
bool frmSolicitudes::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == tblSolicitudes && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            cmdVer_Click();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

std::optional<Criterios_Busqueda> frmSolicitudes::Leer_Criterios() {
    Criterios_Busqueda c;
    c.Orden = mostrada_.Orden;
    c.Descendente = mostrada_.Descendente;
    if (!Leer_Numero_Caja(txtID, c.ID) || !Leer_Numero_Caja(txtTicket, c.Nro_Ticket)) {
        Mostrar_Estado(QString::fromUtf8("El ID y el ticket son números enteros."), true);
        return std::nullopt;
    }
    if (!Leer_Fecha_Caja(txtDesde, c.Desde) || !Leer_Fecha_Caja(txtHasta, c.Hasta)) {
        Mostrar_Estado(QString::fromUtf8("Las fechas se escriben dd/mm/aaaa."), true);
        return std::nullopt;
    }
    c.RFC = txtRFC->text().trimmed().toStdString();
    c.Nombre = txtCliente->text().trimmed().toStdString();
    if (cboSucursal->currentData().isValid())
        c.ID_Sucursal = cboSucursal->currentData().toInt();
    if (cboStatus->currentData().isValid())
        c.Status = cboStatus->currentData().toInt();
    const QModelIndexList motivo = tblMotivos->selectionModel()->selectedRows();
    if (modo_ == Modo::Rechazadas && !motivo.isEmpty() && c.Status == 4)
        c.Motivo = motivos_.at(static_cast<size_t>(motivo.first().row())).Motivo;
    return c;
}

void frmSolicitudes::cmdBuscar_Click() {
    if (const auto criterios = Leer_Criterios())
        Buscar(*criterios);
}

void frmSolicitudes::cmdLimpiar_Click() {
    for (QLineEdit* caja : {txtID, txtTicket, txtRFC, txtCliente, txtDesde, txtHasta})
        caja->clear();
    cboSucursal->setCurrentIndex(0);
    cboStatus->setCurrentIndex(modo_ == Modo::Rechazadas ? cboStatus->findData(4) : 0);
    tblMotivos->clearSelection();
    cmdBuscar_Click();
}

void frmSolicitudes::cmdAnterior_Click() {
    Criterios_Busqueda criterios = mostrada_;
    criterios.Pagina = std::max(0, criterios.Pagina - 1);
    Buscar(criterios);
}

void frmSolicitudes::cmdSiguiente_Click() {
    Criterios_Busqueda criterios = mostrada_;
    ++criterios.Pagina;
    Buscar(criterios);
}

// Each search asks the indexes again: an administrator may add them while the window is open.
void frmSolicitudes::Buscar(const Criterios_Busqueda& criterios) {
    mostrada_ = criterios;
    const int numero = ++busqueda_;
    Mostrar_Estado(QString::fromUtf8("Buscando…"));
    using Respuesta = std::pair<Indices_Busqueda, Pagina_Solicitudes>;
    hilo_.Encargar<Respuesta>(
        [criterios](Conexion& conexion) {
            const Indices_Busqueda indices = Leer_Indices_Busqueda(conexion);
            return Respuesta{indices, Buscar_Solicitudes(conexion, criterios, indices)};
        },
        [this, numero](const Respuesta& r) {
            if (numero == busqueda_)
                Mostrar_Pagina(r.second, r.first);
        },
        [this, numero](const std::string& error) {
            if (numero != busqueda_)
                return;
            modelo_->Poner_Filas({});
            cmdSiguiente->setEnabled(false);
            Mostrar_Estado("No se pudo buscar: " + Texto(error), true);
        });
}

void frmSolicitudes::Mostrar_Pagina(const Pagina_Solicitudes& pagina,
                                    const Indices_Busqueda& indices) {
    modelo_->Poner_Filas(pagina.Filas);
    tblSolicitudes->resizeColumnsToContents();
    lblIndices->setVisible(!indices.Completos());
    lblPagina->setText(QString::fromUtf8("Página %1").arg(mostrada_.Pagina + 1));
    cmdAnterior->setEnabled(mostrada_.Pagina > 0);
    cmdSiguiente->setEnabled(pagina.Hay_Siguiente);
    const QString hecho = std::exchange(aviso_, QString());
    if (pagina.Filas.empty())
        Mostrar_Estado(hecho + (mostrada_.Pagina == 0
                                    ? QString::fromUtf8("Ninguna solicitud cumple con lo buscado.")
                                    : QString::fromUtf8("No hay más solicitudes.")));
    else
        Mostrar_Estado(hecho +
                       (pagina.Filas.size() == 1
                            ? QString::fromUtf8("1 solicitud en esta página%2.")
                            : QString::fromUtf8("%1 solicitudes en esta página%2.")
                                  .arg(pagina.Filas.size()))
                           .arg(pagina.Hay_Siguiente ? QString::fromUtf8("; hay más") : ""));
}

void frmSolicitudes::Mostrar_Estado(const QString& texto, bool falla) {
    facturador::Mostrar_Estado(lblEstado, texto, falla);
}

void frmSolicitudes::Cargar_Motivos() {
    hilo_.Encargar<std::vector<Motivo_Rechazo>>(
        [](Conexion& conexion) {
            return Motivos_Rechazo(conexion, Leer_Indices_Busqueda(conexion));
        },
        [this](const std::vector<Motivo_Rechazo>& motivos) { Mostrar_Motivos(motivos); },
        [this](const std::string& error) {
            Mostrar_Estado("No se pudieron agrupar las rechazadas por motivo: " + Texto(error),
                           true);
        });
}

// The reason chosen before stays chosen while it has rejected requests.
void frmSolicitudes::Mostrar_Motivos(const std::vector<Motivo_Rechazo>& motivos) {
    const QSignalBlocker sin_avisos(tblMotivos->selectionModel());
    const QModelIndexList elegido = tblMotivos->selectionModel()->selectedRows();
    const std::optional<std::string> antes =
        elegido.isEmpty()
            ? std::nullopt
            : std::optional(motivos_.at(static_cast<size_t>(elegido.first().row())).Motivo);
    motivos_ = motivos;
    modelo_motivos_->removeRows(0, modelo_motivos_->rowCount());
    for (const Motivo_Rechazo& m : motivos) {
        auto* cantidad = new QStandardItem(QString::number(m.Cantidad));
        cantidad->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        modelo_motivos_->appendRow(
            {new QStandardItem(m.Motivo.empty() ? QString::fromUtf8("(sin motivo)")
                                                : Texto(m.Motivo)),
             cantidad});
    }
    for (size_t fila = 0; antes && fila < motivos_.size(); ++fila)
        if (motivos_[fila].Motivo == *antes)
            tblMotivos->selectRow(static_cast<int>(fila));
    cmdReactivar_Motivo->setEnabled(!tblMotivos->selectionModel()->selectedRows().isEmpty());
}

void frmSolicitudes::Motivo_Elegido() {
    cmdReactivar_Motivo->setEnabled(!tblMotivos->selectionModel()->selectedRows().isEmpty());
    cboStatus->setCurrentIndex(cboStatus->findData(4));
    cmdBuscar_Click();
}

void frmSolicitudes::cmdTodos_Motivos_Click() {
    {
        const QSignalBlocker sin_avisos(tblMotivos->selectionModel());
        tblMotivos->clearSelection();
    }
    cmdReactivar_Motivo->setEnabled(false);
    cmdBuscar_Click();
}

void frmSolicitudes::cmdVer_Click() {
    const QModelIndex actual = tblSolicitudes->currentIndex();
    if (actual.isValid())
        Abrir_Historia(actual.row());
}

void frmSolicitudes::Abrir_Historia(int fila) {
    if (fila >= 0 && fila < modelo_->rowCount())
        Mostrar_Historia_Solicitud(modelo_->Fila(fila).ID);
}

void frmSolicitudes::cmdReactivar_Click() {
    std::vector<int32_t> ids;
    QString lista;
    for (const QModelIndex& indice : tblSolicitudes->selectionModel()->selectedRows()) {
        const Fila_Solicitud& f = modelo_->Fila(indice.row());
        if (f.Status != 4)
            continue;
        ids.push_back(f.ID);
        if (ids.size() <= 10)
            lista += QString::fromUtf8("\n%1: %2").arg(f.ID).arg(Texto(f.Motivo));
    }
    if (ids.empty())
        return Mostrar_Estado(
            QString::fromUtf8("Elija solicitudes rechazadas (status 4) para reactivarlas."), true);
    Reactivar([ids](Conexion& conexion) { return Reactivar_Solicitudes(conexion, ids); },
              QString::fromUtf8(ids.size() == 1
                                    ? "Se reactivará %1 Solicitud de Factura rechazada:%2"
                                    : "Se reactivarán %1 Solicitudes de Facturas rechazadas:%2")
                  .arg(ids.size())
                  .arg(lista + (ids.size() > 10 ? QString::fromUtf8("\n…") : QString())));
}

void frmSolicitudes::cmdReactivar_Motivo_Click() {
    const QModelIndexList elegido = tblMotivos->selectionModel()->selectedRows();
    if (elegido.isEmpty())
        return;
    const Motivo_Rechazo motivo = motivos_.at(static_cast<size_t>(elegido.first().row()));
    Reactivar(
        [motivo](Conexion& conexion) {
            return Reactivar_Motivo(conexion, motivo.Motivo, motivo.Ultimo_ID);
        },
        QString::fromUtf8("Se reactivarán las %1 Solicitudes de Facturas rechazadas por el "
                          "motivo:\n%2")
            .arg(motivo.Cantidad)
            .arg(Texto(motivo.Motivo)));
}

// After the operator's yes; each request reactivated goes to the daily log with the operator's
// account, and the reasons and the results are read again.
void frmSolicitudes::Reactivar(std::function<Reactivacion(Conexion&)> accion,
                               const QString& pregunta) {
    if (!Operador_Actual().Pedir_Confirmacion(kTitulo_Confirmar, pregunta.toStdString()))
        return;
    Mostrar_Estado(QString::fromUtf8("Reactivando…"));
    hilo_.Encargar<Reactivacion>(
        std::move(accion),
        [this](const Reactivacion& reactivacion) {
            Anotar_Reactivadas(reactivacion, Cuenta_Usuario());
            const size_t cuantas = reactivacion.Solicitudes.size();
            // Told with the results of the search that follows, which show where they stand.
            aviso_ =
                reactivacion.Sin_Confirmar ? QString::fromUtf8(kReactivaciones_Sin_Confirmar)
                : cuantas == 1
                    ? QString::fromUtf8("Se reactivó 1 solicitud; vuelve a pendientes. ")
                    : QString::fromUtf8("Se reactivaron %1 solicitudes; vuelven a pendientes. ")
                          .arg(cuantas);
            if (modo_ == Modo::Rechazadas)
                Cargar_Motivos();
            cmdBuscar_Click();
        },
        [this](const std::string& error) {
            Mostrar_Estado(
                "No se pudo reactivar; ninguna solicitud fue modificada. Detalle: " + Texto(error),
                true);
        });
}

frmSolicitudes* Mostrar_Solicitudes(frmSolicitudes::Modo modo) {
    static QPointer<frmSolicitudes> ventana;
    if (ventana)
        ventana->close();
    ventana = new frmSolicitudes(modo);
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
    return ventana;
}

}  // namespace facturador

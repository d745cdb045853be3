#include "app/qt/frmSolicitud.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QDir>
#include <QTemporaryDir>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Acciones_Solicitud.h"
#include "app/Busqueda_Solicitudes.h"
#include "app/Documentos_Guardados.h"
#include "app/qt/Controles_Consola.h"
#include "data/Conexiones.h"
#include "data/Configuracion.h"
#include "generation/Pedidos_Reencolado.h"
#include "platform/Entorno.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

constexpr int kRevisar_Pedido_ms = 1000;
constexpr const char* kReactivacion_Sin_Confirmar =
    "Se perdió la conexión con la base de datos central al confirmar la reactivación; no se sabe "
    "si la solicitud %1 quedó reactivada: su estado abajo lo dice. ";
// A request without a date has its daily logs looked for from this many days ago.
constexpr int kDias_Sin_Fecha = 30;

QTableView* Tabla(QWidget* padre, const char* nombre, const QStringList& encabezados) {
    QTableView* tabla = Tabla_Consola(padre, nombre);
    auto* modelo = new QStandardItemModel(0, static_cast<int>(encabezados.size()), tabla);
    modelo->setHorizontalHeaderLabels(encabezados);
    tabla->setModel(modelo);
    return tabla;
}

void Llenar(QTableView* tabla, const std::vector<std::vector<std::string>>& filas) {
    auto* modelo = static_cast<QStandardItemModel*>(tabla->model());
    modelo->removeRows(0, modelo->rowCount());
    for (const auto& fila : filas) {
        QList<QStandardItem*> celdas;
        for (const std::string& valor : fila)
            celdas.append(new QStandardItem(Texto(valor)));
        modelo->appendRow(celdas);
    }
    tabla->resizeColumnsToContents();
}

std::vector<std::string> Carpetas_de_Bitacoras() {
    return {Carpeta_del_Servicio(), Carpeta_Programa()};
}

// The daily logs are read from the request's date on.
Fecha_Hora Desde(const Historia_Solicitud& h) {
    for (const auto& [columna, valor] : h.Campos)
        if (columna == "Fecha")
            if (const auto fecha = Leer_Fecha_Hora(valor))
                return *fecha;
    return Sumar_Dias(Solo_Fecha(Ahora()), -kDias_Sin_Fecha);
}

}  // namespace

frmSolicitud::frmSolicitud(QWidget* padre)
    : QDialog(padre), hilo_(Cadena_Central_de_Operacion(), this) {
    setObjectName("frmSolicitud");
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
    Crear_Controles();
    Disponer_Controles();
    Conectar_Eventos();
}

frmSolicitud::~frmSolicitud() = default;

void frmSolicitud::Crear_Controles() {
    lblTitulo = Con_Nombre(new QLabel(this), "lblTitulo");
    QFont titulo = lblTitulo->font();
    titulo.setPointSize(titulo.pointSize() + 3);
    titulo.setBold(true);
    lblTitulo->setFont(titulo);
    lblMotivo = Con_Nombre(new QLabel(this), "lblMotivo");
    lblMotivo->setWordWrap(true);
    lblMotivo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tabHistoria = Con_Nombre(new QTabWidget(this), "tabHistoria");
    tblCampos = Tabla(this, "tblCampos", {"Campo", "Valor"});
    tabHistoria->addTab(tblCampos, "Solicitud");
    tabHistoria->addTab(Crear_Pagina_Factura(), "Factura");
    tabHistoria->addTab(Crear_Pagina_Archivos(), "Archivos");
    tabHistoria->addTab(Crear_Pagina_Bitacora(), QString::fromUtf8("Bitácora"));
    tblPedidos =
        Tabla(this, "tblPedidos", {"Pedido", "Por", "Fecha", "Status", "Resultado", "Atendido"});
    tabHistoria->addTab(tblPedidos, "Reencolado");
    cmdAbrir_PDF = Boton_Consola("Abrir PDF", this, "cmdAbrir_PDF");
    cmdAbrir_XML = Boton_Consola("Abrir XML", this, "cmdAbrir_XML");
    cmdCopiar_UUID = Boton_Consola("Copiar UUID", this, "cmdCopiar_UUID");
    cmdReactivar = Boton_Consola("Reactivar", this, "cmdReactivar");
    cmdReencolar = Boton_Consola("Reencolar", this, "cmdReencolar");
    cmdActualizar = Boton_Consola("Actualizar", this, "cmdActualizar");
    cmdCerrar = Boton_Consola("Cerrar", this, "cmdCerrar");
    lblEstado = Con_Nombre(new QLabel(this), "lblEstado");
    lblEstado->setWordWrap(true);
    tmrPedido = Con_Nombre(new QTimer(this), "tmrPedido");
    tmrPedido->setInterval(kRevisar_Pedido_ms);
    Habilitar_Acciones();
}

QWidget* frmSolicitud::Crear_Pagina_Factura() {
    auto* pagina = new QWidget(this);
    tblFactura = Tabla(pagina, "tblFactura", {"Factura", ""});
    tblMontos = Tabla(pagina, "tblMontos", {"Monto facturado", "Total", "Status", "Serie y Folio"});
    tblDocumentos = Tabla(pagina, "tblDocumentos",
                          {"Documento", QString::fromUtf8("Título"), "Archivo", "Tipo",
                           QString::fromUtf8("Tamaño"), "Fecha"});
    auto* caja = new QVBoxLayout(pagina);
    caja->addWidget(tblFactura, 3);
    caja->addWidget(tblMontos, 1);
    caja->addWidget(tblDocumentos, 2);
    return pagina;
}

QWidget* frmSolicitud::Crear_Pagina_Archivos() {
    auto* pagina = new QWidget(this);
    tblArchivos =
        Tabla(pagina, "tblArchivos", {QString::fromUtf8("Dónde"), "Archivo", "Modificado"});
    lblAviso_Archivos = Con_Nombre(new QLabel(pagina), "lblAviso_Archivos");
    lblAviso_Archivos->setWordWrap(true);
    auto* caja = new QVBoxLayout(pagina);
    caja->addWidget(tblArchivos, 1);
    caja->addWidget(lblAviso_Archivos);
    return pagina;
}

QWidget* frmSolicitud::Crear_Pagina_Bitacora() {
    auto* pagina = new QWidget(this);
    txtBitacora = Con_Nombre(new QPlainTextEdit(pagina), "txtBitacora");
    txtBitacora->setReadOnly(true);
    txtBitacora->setLineWrapMode(QPlainTextEdit::NoWrap);
    lblAlcance = Con_Nombre(new QLabel(pagina), "lblAlcance");
    lblAlcance->setWordWrap(true);
    auto* caja = new QVBoxLayout(pagina);
    caja->addWidget(txtBitacora, 1);
    caja->addWidget(lblAlcance);
    return pagina;
}

void frmSolicitud::Disponer_Controles() {
    auto* botones = new QHBoxLayout;
    for (QPushButton* boton :
         {cmdAbrir_PDF, cmdAbrir_XML, cmdCopiar_UUID, cmdReactivar, cmdReencolar})
        botones->addWidget(boton);
    botones->addStretch(1);
    botones->addWidget(cmdActualizar);
    botones->addWidget(cmdCerrar);
    auto* ventana = new QVBoxLayout(this);
    ventana->addWidget(lblTitulo);
    ventana->addWidget(lblMotivo);
    ventana->addWidget(tabHistoria, 1);
    ventana->addWidget(lblEstado);
    ventana->addLayout(botones);
    setMinimumSize(820, 560);
}

void frmSolicitud::Conectar_Eventos() {
    connect(cmdAbrir_PDF, &QPushButton::clicked, this, &frmSolicitud::cmdAbrir_PDF_Click);
    connect(cmdAbrir_XML, &QPushButton::clicked, this, &frmSolicitud::cmdAbrir_XML_Click);
    connect(cmdCopiar_UUID, &QPushButton::clicked, this, &frmSolicitud::cmdCopiar_UUID_Click);
    connect(cmdReactivar, &QPushButton::clicked, this, &frmSolicitud::cmdReactivar_Click);
    connect(cmdReencolar, &QPushButton::clicked, this, &frmSolicitud::cmdReencolar_Click);
    connect(cmdActualizar, &QPushButton::clicked, this, &frmSolicitud::cmdActualizar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::reject);
    // While an ask waits for the worker, the story is read again until it is done.
    connect(tmrPedido, &QTimer::timeout, this, [this] {
        if (!Ocupada())
            Mostrar(id_);
    });
}

void frmSolicitud::Mostrar(int32_t id) {
    id_ = id;
    setWindowTitle(QString::fromUtf8("Solicitud %1").arg(id));
    if (!historia_ || historia_->ID != id)
        lblTitulo->setText(QString::fromUtf8("Solicitud %1").arg(id));
    const int numero = ++lectura_;
    Mostrar_Estado(QString::fromUtf8("Leyendo…"));
    const std::vector<std::string> carpetas = Carpetas_de_Bitacoras();
    hilo_.Encargar<Lectura>(
        [id, carpetas](Conexion& conexion) {
            Lectura lectura{Leer_Historia_Solicitud(conexion, id), {}};
            if (lectura.historia)
                lectura.bitacora = Lineas_de_Solicitud(carpetas, id, Desde(*lectura.historia));
            return lectura;
        },
        [this, numero](const Lectura& lectura) {
            if (numero == lectura_)
                Mostrar_Lectura(lectura);
        },
        [this, numero](const std::string& error) {
            if (numero == lectura_)
                Mostrar_Estado("No se pudo leer la solicitud: " + Texto(error), true);
        });
}

void frmSolicitud::Mostrar_Lectura(const Lectura& lectura) {
    historia_ = lectura.historia;
    const QString hecho = std::exchange(aviso_, QString());
    if (!historia_) {
        lblTitulo->setText(QString::fromUtf8("Solicitud %1").arg(id_));
        Mostrar_Estado(hecho + QString::fromUtf8("No existe la solicitud %1.").arg(id_), true);
        return Habilitar_Acciones();
    }
    const Historia_Solicitud& h = *historia_;
    lblTitulo->setText(
        QString::fromUtf8("Solicitud %1 · %2").arg(h.ID).arg(Texto(Status_en_Palabras(h.Status))));
    lblMotivo->setText(h.Resultado.empty() ? QString() : "Motivo: " + Texto(h.Resultado));
    Llenar_Datos(h);
    Llenar_Factura(h);
    Llenar_Archivos(h);
    Llenar_Pedidos(h);
    QStringList lineas;
    for (const std::string& linea : lectura.bitacora.Lineas)
        lineas.append(Texto(linea));
    txtBitacora->setPlainText(lineas.join('\n'));
    QStringList alcance{Texto(lectura.bitacora.Alcance)};
    for (const std::string& aviso : lectura.bitacora.Avisos)
        alcance.append(Texto(aviso));
    lblAlcance->setText(alcance.join('\n'));
    Mostrar_Estado(hecho, false);
    Habilitar_Acciones();
    if (h.Pedido_Abierto())
        tmrPedido->start();
    else
        tmrPedido->stop();
}

void frmSolicitud::Llenar_Datos(const Historia_Solicitud& h) {
    std::vector<std::vector<std::string>> filas;
    filas.push_back({"Status", std::to_string(h.Status) + " - " + Status_en_Palabras(h.Status)});
    for (const auto& [columna, valor] : h.Campos)
        filas.push_back({columna, valor});
    Llenar(tblCampos, filas);
}

void frmSolicitud::Llenar_Factura(const Historia_Solicitud& h) {
    std::vector<std::vector<std::string>> factura;
    if (h.Factura) {
        const Factura_de_Solicitud& f = *h.Factura;
        factura = {{"ID_Factura", std::to_string(f.ID_Factura)},
                   {"Serie", f.Serie},
                   {"Folio", f.Folio},
                   {"UUID", f.UUID},
                   {"Fecha", f.Fecha},
                   {"Total", f.Total},
                   {"Status", f.Status}};
    } else {
        factura = {{"Sin factura registrada", ""}};
    }
    Llenar(tblFactura, factura);
    std::vector<std::vector<std::string>> montos;
    for (const Monto_de_Solicitud& m : h.Montos)
        montos.push_back({m.Fecha, m.Total, m.Status, m.Serie_y_Folio});
    Llenar(tblMontos, montos);
    std::vector<std::vector<std::string>> documentos;
    for (const Documento_de_Solicitud& d : h.Documentos)
        documentos.push_back({std::to_string(d.ID), d.Titulo, d.Nombre_Archivo, d.Descripcion,
                              std::to_string(d.Tamano), d.Fecha});
    Llenar(tblDocumentos, documentos);
}

void frmSolicitud::Llenar_Archivos(const Historia_Solicitud& h) {
    std::vector<std::vector<std::string>> archivos;
    for (const Archivo_de_Solicitud& a : h.Archivos)
        archivos.push_back({a.Donde, a.Ruta, a.Modificado});
    Llenar(tblArchivos, archivos);
    lblAviso_Archivos->setText(
        !h.Aviso_Archivos.empty() ? Texto(h.Aviso_Archivos)
        : h.Archivo.empty()  ? QString::fromUtf8("Nunca se envió a timbrar: no tiene archivos.")
        : h.Archivos.empty() ? QString::fromUtf8("Ningún archivo de %1 está en las carpetas de "
                                                 "su sucursal.")
                                   .arg(Texto(h.Archivo))
                             : QString());
}

void frmSolicitud::Llenar_Pedidos(const Historia_Solicitud& h) {
    std::vector<std::vector<std::string>> pedidos;
    for (const Pedido_de_Solicitud& p : h.Pedidos)
        pedidos.push_back({std::to_string(p.ID), p.Pedido_Por, p.Fecha_Pedido,
                           Texto_Status_Pedido(p.Status), p.Resultado, p.Fecha_Atendido});
    Llenar(tblPedidos, pedidos);
}

void frmSolicitud::Habilitar_Acciones() {
    const Historia_Solicitud* h = historia_ ? &*historia_ : nullptr;
    cmdAbrir_PDF->setEnabled(h && (!h->PDF.empty() || Documento_Guardado(*h, "PDF")));
    cmdAbrir_XML->setEnabled(h && (!h->XML.empty() || Documento_Guardado(*h, "XML")));
    cmdCopiar_UUID->setEnabled(h && h->Factura && !h->Factura->UUID.empty());
    cmdReactivar->setEnabled(h && h->Status == 4);
    const bool reencolable = h && !h->Impedimento_Reencolado && !h->Pedido_Abierto();
    cmdReencolar->setEnabled(reencolable);
    cmdReencolar->setToolTip(
        !h                    ? QString()
        : h->Pedido_Abierto() ? QString::fromUtf8("Ya hay un pedido de reencolado sin atender.")
        : h->Impedimento_Reencolado ? "No se reencola: " + Texto(*h->Impedimento_Reencolado)
                                    : QString());
}

void frmSolicitud::Mostrar_Estado(const QString& texto, bool falla) {
    facturador::Mostrar_Estado(lblEstado, texto, falla);
}

void frmSolicitud::cmdActualizar_Click() {
    Mostrar(id_);
}

void frmSolicitud::cmdAbrir_PDF_Click() {
    if (historia_)
        Abrir_Comprobante(historia_->PDF, "PDF");
}

void frmSolicitud::cmdAbrir_XML_Click() {
    if (historia_)
        Abrir_Comprobante(historia_->XML, "XML");
}

namespace {

// Where the stored documents are written to be opened: a folder of the operator's own (mode
// 0700), removed when the program ends.
std::string Carpeta_Copias_Documentos() {
    static const QTemporaryDir carpeta(QDir::tempPath() + "/facturador-documentos-XXXXXX");
    if (!carpeta.isValid())
        throw Error_Plataforma(0, carpeta.errorString().toStdString());
    return carpeta.path().toStdString();
}

}  // namespace

void frmSolicitud::Abrir_Comprobante(const std::string& en_validas, const std::string& tipo) {
    if (!en_validas.empty())
        return Operador_Actual().Abrir_Documento(en_validas);
    const Documento_de_Solicitud* guardado = Documento_Guardado(*historia_, tipo);
    if (!guardado)
        return;
    Mostrar_Estado(QString::fromUtf8("Leyendo…"));
    hilo_.Encargar<std::optional<std::string>>(
        [id = guardado->ID](Conexion& conexion) { return Leer_Documento_Guardado(conexion, id); },
        [this, documento = *guardado, tipo](const std::optional<std::string>& bytes) {
            if (!bytes)
                return Mostrar_Estado(Texto("El " + tipo + " ya no está guardado en la base de "
                                                        "datos central."),
                                      true);
            try {
                Operador_Actual().Abrir_Documento(
                    Escribir_Copia_Documento(Carpeta_Copias_Documentos(), documento, *bytes));
                Mostrar_Estado(Texto("El " + tipo + " no está en la carpeta de válidas: se abrió "
                                                    "el guardado en la base de datos central."));
            } catch (const std::exception& e) {
                Mostrar_Estado(Texto("No se pudo abrir el " + tipo + ": " + e.what()), true);
            }
        },
        [this, tipo](const std::string& error) {
            Mostrar_Estado(Texto("No se pudo leer el " + tipo + ": " + error), true);
        });
}

void frmSolicitud::cmdCopiar_UUID_Click() {
    if (!historia_ || !historia_->Factura || historia_->Factura->UUID.empty())
        return;
    QGuiApplication::clipboard()->setText(Texto(historia_->Factura->UUID));
    Mostrar_Estado("UUID copiado: " + Texto(historia_->Factura->UUID));
}

void frmSolicitud::cmdReactivar_Click() {
    if (!historia_ || historia_->Status != 4)
        return;
    const int32_t id = id_;
    if (!Operador_Actual().Pedir_Confirmacion(
            "ATENCION", "Se reactivará la Solicitud de Factura " + std::to_string(id) +
                            ", rechazada por: " + historia_->Resultado))
        return;
    hilo_.Encargar<Reactivacion>(
        [id](Conexion& conexion) { return Reactivar_Solicitudes(conexion, {id}); },
        [this, id](const Reactivacion& reactivacion) {
            Anotar_Reactivadas(reactivacion, Cuenta_Usuario());
            aviso_ = QString::fromUtf8(reactivacion.Sin_Confirmar ? kReactivacion_Sin_Confirmar
                                       : reactivacion.Solicitudes.empty()
                                           ? "La solicitud %1 ya no estaba rechazada; no se "
                                             "modificó. "
                                           : "Se reactivó la solicitud %1; vuelve a pendientes. ")
                         .arg(id);
            Mostrar(id);
        },
        [this](const std::string& error) {
            Mostrar_Estado(
                "No se pudo reactivar; la solicitud no fue modificada. Detalle: " + Texto(error),
                true);
        });
}

void frmSolicitud::cmdReencolar_Click() {
    if (!historia_)
        return;
    const int32_t id = id_;
    if (!Operador_Actual().Pedir_Confirmacion(
            "ATENCION",
            "Se pedirá a la copia que trabaja que vuelva a escribir el archivo para "
            "timbrar " +
                historia_->Archivo + " de la Solicitud de Factura " + std::to_string(id) + "."))
        return;
    const std::string cuenta = Cuenta_Usuario();
    const Fecha_Hora ahora = Ahora();
    hilo_.Encargar<std::optional<std::string>>(
        [id, cuenta, ahora](Conexion& conexion) {
            return Pedir_Reencolado(conexion, id, cuenta, ahora);
        },
        [this, id, cuenta](const std::optional<std::string>& negativa) {
            if (negativa) {
                aviso_ = "No se pide el reencolado: " + Texto(*negativa) + " ";
            } else {
                Anotar_Pedido_Reencolado(id, cuenta);
                aviso_ = QString::fromUtf8(
                    "Se pidió el reencolado; la copia que trabaja lo hace "
                    "en su siguiente ciclo. ");
            }
            Mostrar(id);
        },
        [this](const std::string& error) {
            Mostrar_Estado("No se pudo pedir el reencolado. Detalle: " + Texto(error), true);
        });
}

frmSolicitud* Mostrar_Historia_Solicitud(int32_t id) {
    static QPointer<frmSolicitud> ventana;
    if (!ventana)
        ventana = new frmSolicitud;
    ventana->Mostrar(id);
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
    return ventana;
}

}  // namespace facturador

#include "issuing_config/qt/frmConfiguracion_Facturas.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <initializer_list>

#include "data/Sucursales.h"
#include "issuing_config/Avisos_Configuracion.h"
#include "issuing_config/Cajas_Perfil.h"
#include "issuing_config/Estados.h"
#include "issuing_config/Mensaje_Email.h"
#include "platform/Entorno.h"
#include "ui/qt/Teclado.h"

namespace facturador {

namespace {

constexpr int kLargo_Mensajes = 250;
const QColor kColor_Menu_Resaltado(225, 225, 225);

constexpr const char* kElegir_Sucursal =
    "Favor de seleccionar la Sucursal cuya configuración desea almacenar.";
constexpr const char* kBuscar_Cola =
    "Seleccione el foder donde se pondrán las facturas a timprar...";
constexpr const char* kBuscar_Validas =
    "Seleccione el foder donde se Almacenarán las facturas Válidas...";
constexpr const char* kBuscar_No_Validas =
    "Seleccione el foder donde se Almacenarán las facturas NO Válidas...";

QString Texto(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString Texto(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

template <typename Control>
Control* Con_Nombre(Control* control, const QString& nombre) {
    control->setObjectName(nombre);
    return control;
}

QLabel* Encabezado(const char* texto, QWidget* padre) {
    auto* etiqueta = new QLabel(Texto(texto), padre);
    QFont letra = etiqueta->font();
    letra.setBold(true);
    etiqueta->setFont(letra);
    return etiqueta;
}

QPushButton* Boton(const char* texto, const char* nombre, QWidget* padre) {
    auto* boton = Con_Nombre(new QPushButton(Texto(texto), padre), Texto(nombre));
    // Enter in a box reaches the window as well; it must never press a button from there.
    boton->setAutoDefault(false);
    return boton;
}

void Llenar_Combo_Sucursales(QComboBox* combo, bool con_todos) {
    combo->clear();
    if (con_todos)
        combo->addItem(QStringLiteral("T o d o s"), 0);
    for (const Sucursal& sucursal : Sucursales_Cargadas())
        combo->addItem(Texto(sucursal.Nombre), sucursal.ID);
    combo->setCurrentIndex(con_todos ? 0 : -1);
}

void Llenar_Combo_Estados(QComboBox* combo, bool con_todos) {
    combo->clear();
    for (const std::string& estado : Lista_Estados(con_todos))
        combo->addItem(Texto(estado));
    combo->setCurrentIndex(con_todos ? 0 : -1);
}

// Selects the first entry exactly equal to the text; without one the combo stays as it was.
void Seleccionar_Igual(QComboBox* combo, const std::string& texto) {
    const QString buscado = Texto(texto);
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i) == buscado) {
            combo->setCurrentIndex(i);
            return;
        }
}

// Puts a stored value in its box whole, even when it is longer than what can be typed there, so
// that saving the profile again does not cut it.
void Poner_Completo(QLineEdit* caja, int largo, const std::string& valor) {
    const QString texto = Texto(valor);
    caja->setMaxLength(std::max(largo, static_cast<int>(texto.size())));
    caja->setText(texto);
}

// Keeps a multi-line box within `largo` characters, whether typed or pasted.
void Limitar_Largo(QPlainTextEdit* caja, int largo) {
    QObject::connect(caja, &QPlainTextEdit::textChanged, caja, [caja, largo] {
        const QString texto = caja->toPlainText();
        if (texto.size() <= largo)
            return;
        const QSignalBlocker bloqueo(caja);
        caja->setPlainText(texto.left(largo));
        caja->moveCursor(QTextCursor::End);
    });
}

QPlainTextEdit* Caja_Mensaje(const char* nombre, QWidget* padre) {
    auto* caja = Con_Nombre(new QPlainTextEdit(padre), Texto(nombre));
    caja->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    caja->setTabChangesFocus(true);
    Limitar_Largo(caja, kLargo_Mensajes);
    return caja;
}

const Caja_Perfil& Caja_Llamada(std::string_view nombre) {
    const auto cajas = Cajas_Perfil();
    return *std::find_if(cajas.begin(), cajas.end(),
                         [&](const Caja_Perfil& c) { return nombre == c.nombre; });
}

bool Es_Enter(const QKeyEvent& tecla) {
    return tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter;
}

// A caption and its field on a row of an eight-column grid; the field spans `columnas`.
struct Par {
    const char* nombre;
    int columnas = 1;
};

}  // namespace

frmConfiguracion_Facturas::frmConfiguracion_Facturas(QWidget* propietario) : QDialog(propietario) {
    setObjectName("frmConfiguracion_Facturas");
    setWindowTitle(Texto("Configurar Parámetros de Facturación"));
    setModal(true);
    Crear_Menu();
    Crear_Pagina_Datos_Fiscales();
    Crear_Pagina_Mensajes();
    Disponer_Ventana();
    Acomodar_Opciones();
    Preparar_Menu();
    perfiles_cargados_ = Recargar_Datos_de_Emision(lugar_);
    Llenar_Combo_Sucursales(cboSucursal, false);
    Llenar_Combo_Estados(cboEstado, false);
    Llenar_Combo_Estados(cboEstado_Expedicion, false);
    txtMensaje_en_Email->setPlainText(Texto(Mensaje_Facturacion_Email()));
    Ultimo_Menu_Resaltado = -1;
    Poner_Tabulacion();
    Instalar_Teclado_Cajas();
    Conectar_Eventos();
}

void frmConfiguracion_Facturas::Crear_Menu() {
    const char* const titulos[] = {"Datos Fiscales", "Mensajes"};
    for (int i = 0; i < 2; ++i) {
        lblMenu[i] =
            Con_Nombre(new QLabel(Texto(titulos[i]), this), QStringLiteral("lblMenu_%1").arg(i));
        lblMenu[i]->setContentsMargins(10, 4, 10, 4);
        lblMenu[i]->setCursor(Qt::PointingHandCursor);
        lblMenu[i]->setMouseTracking(true);
        lblMenu[i]->installEventFilter(this);
    }
    cboSucursal = Con_Nombre(new QComboBox(this), QStringLiteral("cboSucursal"));
    cboSucursal->setMinimumContentsLength(28);
}

void frmConfiguracion_Facturas::Crear_Cajas() {
    const int ancho_caracter = fontMetrics().averageCharWidth();
    for (const Caja_Perfil& caja : Cajas_Perfil()) {
        auto* linea = Con_Nombre(new QLineEdit(fraOpcion[0]), Texto(caja.nombre));
        linea->setMaxLength(caja.largo);
        linea->setText(Texto(caja.diseno));
        // Short fields show all they can hold; long ones take the room the row leaves.
        linea->setMinimumWidth(ancho_caracter * (std::min(caja.largo, 16) + 3));
        cajas_[caja.nombre] = linea;
    }
    cboEstado = Con_Nombre(new QComboBox(fraOpcion[0]), QStringLiteral("cboEstado"));
    cboEstado_Expedicion =
        Con_Nombre(new QComboBox(fraOpcion[0]), QStringLiteral("cboEstado_Expedicion"));
    // Wide enough for the longest state, "Baja California Sur".
    for (QComboBox* estado : {cboEstado, cboEstado_Expedicion}) {
        estado->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        estado->setMinimumContentsLength(19);
    }
    cmdCola = Boton("...", "cmdCola", fraOpcion[0]);
    cmdValidas = Boton("...", "cmdValidas", fraOpcion[0]);
    cmdNo_Validas = Boton("...", "cmdNo_Validas", fraOpcion[0]);
    for (QPushButton* boton : {cmdCola, cmdValidas, cmdNo_Validas}) {
        boton->setToolTip(Texto("Seleccionar folder"));
        boton->setFixedWidth(boton->fontMetrics().horizontalAdvance(boton->text()) + 24);
    }
    cmdAceptar = Boton("Aceptar", "cmdAceptar", fraOpcion[0]);
}

void frmConfiguracion_Facturas::Crear_Pagina_Datos_Fiscales() {
    fraOpcion[0] = Con_Nombre(new QWidget(this), QStringLiteral("fraOpcion_0"));
    Crear_Cajas();
    auto* pagina = new QVBoxLayout(fraOpcion[0]);
    pagina->addWidget(Seccion_Domicilios());
    pagina->addWidget(Seccion_Comprobantes());
    pagina->addStretch(1);
    auto* pie = new QHBoxLayout;
    pie->addStretch(1);
    pie->addWidget(cmdAceptar);
    pagina->addLayout(pie);
    // Never shown: the box and captions the profile has no use for.
    cajas_.at("Text5")->hide();
    for (const char* titulo : {"E-mail", "Leyenda"})
        Con_Nombre(new QLabel(Texto(titulo), fraOpcion[0]), QStringLiteral("Titulo_%1").arg(titulo))
            ->hide();
}

QWidget* frmConfiguracion_Facturas::Seccion_Domicilios() {
    auto* seccion = new QWidget(fraOpcion[0]);
    auto* grilla = new QGridLayout(seccion);
    grilla->setContentsMargins(0, 0, 0, 0);
    int fila = 0;
    const auto poner = [&](std::initializer_list<Par> pares) {
        int columna = 0;
        for (const Par& par : pares) {
            QWidget* campo = Control(par.nombre);
            const bool es_estado = std::string_view(par.nombre).starts_with("cbo");
            const char* titulo = es_estado ? "Estado" : Caja_Llamada(par.nombre).titulo;
            auto* etiqueta = Con_Nombre(new QLabel(Texto(titulo), seccion),
                                        QStringLiteral("Titulo_%1").arg(par.nombre));
            etiqueta->setBuddy(campo);
            grilla->addWidget(etiqueta, fila, columna);
            grilla->addWidget(campo, fila, columna + 1, 1, par.columnas);
            columna += 1 + par.columnas;
        }
        ++fila;
    };
    const auto encabezado = [&](const char* texto) {
        QLabel* etiqueta = Encabezado(texto, seccion);
        if (fila > 0)
            etiqueta->setContentsMargins(0, 8, 0, 0);
        grilla->addWidget(etiqueta, fila++, 0, 1, 8);
    };
    encabezado("Emisor");
    poner({{"txtRazon_Social", 5}, {"txtRFC"}});
    poner({{"txtRegimen", 5}, {"txtSerie_Folios"}});
    poner({{"txtLugar", 5}, {"txtFolio"}});
    encabezado("Domicilio Fiscal");
    poner({{"txtDireccion", 3}, {"txtNro_Exterior"}, {"txtNro_Interior"}});
    poner({{"txtColonia", 3}, {"txtCiudad", 3}});
    poner({{"txtDelegacion"}, {"cboEstado"}, {"txtCP"}, {"txtPais"}});
    poner({{"txtReferencia", 7}});
    encabezado("Domicilio de Expedición");
    poner({{"txtCalle_Expedicion", 3},
           {"txtNro_Exterior_Expedicion"},
           {"txtNro_Interior_Expedicion"}});
    poner({{"txtColonia_Expedicion", 3}, {"txtCiudad_Expedicion", 3}});
    poner({{"txtDelegacion_Expedicion"},
           {"cboEstado_Expedicion"},
           {"txtCP_Expedicion"},
           {"txtPais_Expedicion"}});
    poner({{"txtReferencia_Expedicion", 7}});
    for (int columna = 1; columna < 8; columna += 2)
        grilla->setColumnStretch(columna, 1);
    return seccion;
}

QWidget* frmConfiguracion_Facturas::Seccion_Comprobantes() {
    auto* seccion = new QWidget(fraOpcion[0]);
    auto* grilla = new QGridLayout(seccion);
    grilla->setContentsMargins(0, 8, 0, 0);
    grilla->addWidget(Encabezado("Manejo de Comprobantes", seccion), 0, 0, 1, 8);
    const auto titulo = [&](const char* caja) {
        auto* etiqueta = Con_Nombre(new QLabel(Texto(Caja_Llamada(caja).titulo), seccion),
                                    QStringLiteral("Titulo_%1").arg(caja));
        etiqueta->setBuddy(cajas_.at(caja));
        return etiqueta;
    };
    const std::pair<const char*, QPushButton*> carpetas[] = {
        {"txtFolder_Cola", cmdCola},
        {"txtFolder_Validas", cmdValidas},
        {"txtFolder_No_Validas", cmdNo_Validas}};
    int fila = 1;
    for (const auto& [caja, boton] : carpetas) {
        auto* carpeta = new QHBoxLayout;
        carpeta->addWidget(cajas_.at(caja), 1);
        carpeta->addWidget(boton);
        grilla->addWidget(titulo(caja), fila, 0, 1, 2);
        grilla->addLayout(carpeta, fila++, 2, 1, 6);
    }
    grilla->addWidget(titulo("txtEmail_Copia"), fila, 0, 1, 2);
    grilla->addWidget(cajas_.at("txtEmail_Copia"), fila++, 2, 1, 6);
    int columna = 0;
    for (const char* caja :
         {"txtFolio_Inicial", "txtFolio_Final", "txtNro_Aprobacion", "txtFecha_Aprobacion"}) {
        grilla->addWidget(titulo(caja), fila, columna++);
        grilla->addWidget(cajas_.at(caja), fila, columna++);
    }
    for (int c = 1; c < 8; c += 2)
        grilla->setColumnStretch(c, 1);
    return seccion;
}

void frmConfiguracion_Facturas::Crear_Pagina_Mensajes() {
    fraOpcion[1] = Con_Nombre(new QWidget(this), QStringLiteral("fraOpcion_1"));
    txtMensaje_en_Email = Caja_Mensaje("txtMensaje_en_Email", fraOpcion[1]);
    txtMensaje_en_Ticket = Caja_Mensaje("txtMensaje_en_Ticket", fraOpcion[1]);
    cmdAceptar_Mensaje = Boton("Aceptar", "cmdAceptar_Mensaje", fraOpcion[1]);
    auto* pagina = new QVBoxLayout(fraOpcion[1]);
    pagina->addWidget(new QLabel(
        Texto("Mensaje a enviar por email junto a los comprobantes fiscales"), fraOpcion[1]));
    pagina->addWidget(txtMensaje_en_Email, 1);
    auto* boton = new QHBoxLayout;
    boton->addStretch(1);
    boton->addWidget(cmdAceptar_Mensaje);
    pagina->addLayout(boton);
    pagina->addSpacing(12);
    pagina->addWidget(
        new QLabel(Texto("Mensaje al Pie del Ticket referente a facturación"), fraOpcion[1]));
    pagina->addWidget(txtMensaje_en_Ticket, 1);
}

void frmConfiguracion_Facturas::Disponer_Ventana() {
    auto* menu = new QHBoxLayout;
    menu->setSpacing(4);
    menu->addWidget(lblMenu[0]);
    menu->addWidget(lblMenu[1]);
    menu->addStretch(1);
    auto* titulo_sucursal = Con_Nombre(new QLabel(QStringLiteral("Sucursal"), this),
                                       QStringLiteral("Titulo_cboSucursal"));
    titulo_sucursal->setBuddy(cboSucursal);
    menu->addWidget(titulo_sucursal);
    menu->addWidget(cboSucursal);
    paginas_ = new QStackedLayout;
    auto* ventana = new QVBoxLayout(this);
    ventana->setContentsMargins(14, 10, 14, 12);
    ventana->addLayout(menu);
    ventana->addLayout(paginas_, 1);
}

// Both pages take the same place below the menu; only one shows at a time.
void frmConfiguracion_Facturas::Acomodar_Opciones() {
    for (QWidget* pagina : fraOpcion)
        paginas_->addWidget(pagina);
    paginas_->setCurrentIndex(0);
}

// The grey only shows while a label is highlighted (opaque).
void frmConfiguracion_Facturas::Preparar_Menu() {
    for (QLabel* etiqueta : lblMenu) {
        QPalette paleta = etiqueta->palette();
        paleta.setColor(QPalette::Window, kColor_Menu_Resaltado);
        etiqueta->setPalette(paleta);
        etiqueta->setAutoFillBackground(false);
    }
}

void frmConfiguracion_Facturas::Poner_Tabulacion() {
    QWidget* anterior = cboSucursal;
    const auto seguir = [&](QWidget* siguiente) {
        setTabOrder(anterior, siguiente);
        anterior = siguiente;
    };
    for (const char* nombre : Orden_Tabulacion_Perfil())
        seguir(Control(nombre));
    for (QWidget* control : std::initializer_list<QWidget*>{
             cmdCola, cmdValidas, cmdNo_Validas, cajas_.at("txtEmail_Copia"), cmdAceptar,
             txtMensaje_en_Email, cmdAceptar_Mensaje, txtMensaje_en_Ticket})
        seguir(control);
}

void frmConfiguracion_Facturas::Instalar_Teclado_Cajas() {
    for (const Caja_Perfil& caja : Cajas_Perfil())
        if (caja.enter_pasa)
            Instalar_Teclado(cajas_.at(caja.nombre),
                             std::string_view(caja.nombre) == "txtFolio" ? Filtro_Caja::Solo_Numeros
                                                                         : Filtro_Caja::Ninguno,
                             Enter_Caja::Conservar);
    for (QComboBox* combo : {cboEstado, cboEstado_Expedicion})
        Instalar_Teclado(combo, Filtro_Caja::Ninguno, Enter_Caja::Conservar);
}

void frmConfiguracion_Facturas::Conectar_Eventos() {
    connect(cboSucursal, &QComboBox::currentIndexChanged, this,
            &frmConfiguracion_Facturas::cboSucursal_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmConfiguracion_Facturas::cmdAceptar_Click);
    connect(cmdAceptar_Mensaje, &QPushButton::clicked, this,
            &frmConfiguracion_Facturas::cmdAceptar_Mensaje_Click);
    connect(cmdCola, &QPushButton::clicked, this, &frmConfiguracion_Facturas::cmdCola_Click);
    connect(cmdValidas, &QPushButton::clicked, this, &frmConfiguracion_Facturas::cmdValidas_Click);
    connect(cmdNo_Validas, &QPushButton::clicked, this,
            &frmConfiguracion_Facturas::cmdNo_Validas_Click);
}

QWidget* frmConfiguracion_Facturas::Control(const char* nombre) const {
    const std::string_view buscado(nombre);
    if (buscado == "cboEstado")
        return cboEstado;
    if (buscado == "cboEstado_Expedicion")
        return cboEstado_Expedicion;
    return cajas_.at(nombre);
}

void frmConfiguracion_Facturas::lblMenu_MouseMove(int indice) {
    if (indice == Ultimo_Menu_Resaltado)
        return;
    for (QLabel* etiqueta : lblMenu)
        etiqueta->setAutoFillBackground(false);
    lblMenu[indice]->setAutoFillBackground(true);
    Ultimo_Menu_Resaltado = indice;
}

void frmConfiguracion_Facturas::lblMenu_Click(int indice) {
    paginas_->setCurrentIndex(indice);
}

void frmConfiguracion_Facturas::cboSucursal_Click(int indice) {
    if (indice >= 0)
        Mostrar_Datos_Sucursal(cboSucursal->itemData(indice).toInt());
}

void frmConfiguracion_Facturas::Mostrar_Datos_Sucursal(int32_t id_sucursal) {
    const Datos_Emision datos = Obtener_Datos_Emision(id_sucursal);
    perfil_mostrado_ = datos.ID_Sucursal == id_sucursal && id_sucursal != 0;
    for (const Caja_Perfil& caja : Cajas_Perfil()) {
        QLineEdit* linea = cajas_.at(caja.nombre);
        if (caja.uso == Uso_Caja::Llenar_y_Guardar || caja.uso == Uso_Caja::Solo_Llenar)
            Poner_Completo(linea, caja.largo, datos.*caja.dato);
        else if (caja.uso == Uso_Caja::Vaciar)
            linea->clear();
    }
    Seleccionar_Igual(cboEstado, datos.Estado);
    Seleccionar_Igual(cboEstado_Expedicion, datos.Estado_Domicilio_Expedicion);
}

Datos_Capturados frmConfiguracion_Facturas::Capturar_Datos() const {
    Datos_Capturados datos;
    datos.ID_Sucursal = cboSucursal->currentData().toInt();
    for (const Caja_Perfil& caja : Cajas_Perfil())
        if (caja.uso == Uso_Caja::Llenar_y_Guardar)
            datos.*caja.dato = cajas_.at(caja.nombre)->text().toStdString();
    datos.Estado = cboEstado->currentText().toStdString();
    datos.Estado_Domicilio_Expedicion = cboEstado_Expedicion->currentText().toStdString();
    return datos;
}

void frmConfiguracion_Facturas::cmdAceptar_Click() {
    if (cboSucursal->currentIndex() < 0) {
        Operador_Actual().Mostrar_Advertencia(kTitulo_Atencion_Configuracion, kElegir_Sucursal);
        cboSucursal->setFocus();
        return;
    }
    const Cajas_Llenadas cajas = !perfiles_cargados_ ? Cajas_Llenadas::Sin_Carga
                                 : perfil_mostrado_  ? Cajas_Llenadas::De_Su_Perfil
                                                     : Cajas_Llenadas::Sin_Perfil;
    if (Aceptar_Datos_Emision(Capturar_Datos(), cajas, lugar_))
        accept();
}

void frmConfiguracion_Facturas::cmdAceptar_Mensaje_Click() {
    switch (Guardar_Mensaje_Facturacion_Email(txtMensaje_en_Email->toPlainText().toStdString(),
                                              lugar_)) {
        case Resultado_Mensaje_Email::Vacio:
            txtMensaje_en_Email->clear();
            txtMensaje_en_Email->setFocus();
            break;
        case Resultado_Mensaje_Email::Guardado:
            accept();
            break;
        case Resultado_Mensaje_Email::Fallido:
            break;
    }
}

void frmConfiguracion_Facturas::Buscar_Carpeta_Para(const char* caja, const char* titulo) {
    const Caja_Perfil& perfil = Caja_Llamada(caja);
    Poner_Completo(cajas_.at(caja), perfil.largo, Operador_Actual().Elegir_Carpeta(titulo));
}

void frmConfiguracion_Facturas::cmdCola_Click() {
    Buscar_Carpeta_Para("txtFolder_Cola", kBuscar_Cola);
}

void frmConfiguracion_Facturas::cmdValidas_Click() {
    Buscar_Carpeta_Para("txtFolder_Validas", kBuscar_Validas);
}

void frmConfiguracion_Facturas::cmdNo_Validas_Click() {
    Buscar_Carpeta_Para("txtFolder_No_Validas", kBuscar_No_Validas);
}

bool frmConfiguracion_Facturas::eventFilter(QObject* objeto, QEvent* evento) {
    for (int i = 0; i < 2; ++i) {
        if (objeto != lblMenu[i])
            continue;
        if (evento->type() == QEvent::MouseMove || evento->type() == QEvent::Enter)
            lblMenu_MouseMove(i);
        if (evento->type() == QEvent::MouseButtonRelease) {
            const auto* raton = static_cast<QMouseEvent*>(evento);
            if (raton->button() == Qt::LeftButton &&
                lblMenu[i]->rect().contains(raton->position().toPoint()))
                lblMenu_Click(i);
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

// Enter on a focused button presses it; anywhere else it does nothing more than what the box
// itself did with it.
void frmConfiguracion_Facturas::keyPressEvent(QKeyEvent* evento) {
    if (!Es_Enter(*evento)) {
        QDialog::keyPressEvent(evento);
        return;
    }
    if (auto* boton = qobject_cast<QPushButton*>(focusWidget()))
        boton->click();
    evento->accept();
}

void Mostrar_Configuracion_Facturas(QWidget* propietario) {
    frmConfiguracion_Facturas ventana(propietario);
    ventana.exec();
}

}  // namespace facturador

#pragma once

#include <QDialog>

#include <cstdint>
#include <map>
#include <string>

#include "data/qt/Lugar_Aparte.h"
#include "issuing_config/Guardar_Configuracion.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedLayout;
class QWidget;

namespace facturador {

// "Configurar Parámetros de Facturación": the issuing profile of each branch (page 0, "Datos
// Fiscales") and the text of the e-mail sent with the fiscal documents (page 1, "Mensajes").
// Every opening reloads the profiles and starts on page 0 with no branch selected. Each
// "Aceptar" closes the window once its save has succeeded; the title bar closes it without
// saving.
class frmConfiguracion_Facturas : public QDialog {
    Q_OBJECT

  public:
    explicit frmConfiguracion_Facturas(QWidget* propietario = nullptr);

    void lblMenu_MouseMove(int indice);
    void lblMenu_Click(int indice);
    void cboSucursal_Click(int indice);
    void cmdAceptar_Click();
    void cmdAceptar_Mensaje_Click();
    void cmdCola_Click();
    void cmdValidas_Click();
    void cmdNo_Validas_Click();
    void Mostrar_Datos_Sucursal(int32_t id_sucursal);

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

  private:
    void Crear_Menu();
    void Crear_Pagina_Datos_Fiscales();
    void Crear_Cajas();
    void Crear_Pagina_Mensajes();
    void Disponer_Ventana();
    void Acomodar_Opciones();
    void Preparar_Menu();
    void Poner_Tabulacion();
    void Instalar_Teclado_Cajas();
    void Conectar_Eventos();
    QWidget* Pagina_Datos_Fiscales_Disenada();
    QWidget* Seccion_Domicilios();
    QWidget* Seccion_Comprobantes();
    QWidget* Control(const char* nombre) const;
    void Buscar_Carpeta_Para(const char* caja, const char* titulo);
    Datos_Capturados Capturar_Datos() const;

    QLabel* lblMenu[2] = {};
    QWidget* fraOpcion[2] = {};
    QStackedLayout* paginas_ = nullptr;
    QComboBox* cboSucursal = nullptr;
    QComboBox* cboEstado = nullptr;
    QComboBox* cboEstado_Expedicion = nullptr;
    QPushButton* cmdCola = nullptr;
    QPushButton* cmdValidas = nullptr;
    QPushButton* cmdNo_Validas = nullptr;
    QPushButton* cmdAceptar = nullptr;
    QPlainTextEdit* txtMensaje_en_Email = nullptr;
    QPushButton* cmdAceptar_Mensaje = nullptr;
    QPlainTextEdit* txtMensaje_en_Ticket = nullptr;
    // The text boxes of page 0 by name, Text5 included.
    std::map<std::string, QLineEdit*> cajas_;
    // Index of the menu label last highlighted; -1 until the pointer passes over one.
    int Ultimo_Menu_Resaltado = -1;
    // Whether the profiles were read when the window opened, and whether the boxes show the
    // selected branch's profile: only such boxes may be saved.
    bool perfiles_cargados_ = false;
    bool perfil_mostrado_ = false;
    // Its loads and saves run apart; the window takes no input meanwhile.
    Lugar_Aparte lugar_{this};
};

// Shows the window modally, owned by `propietario`, and returns when it closes.
void Mostrar_Configuracion_Facturas(QWidget* propietario);

}  // namespace facturador

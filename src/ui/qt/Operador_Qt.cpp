#include "ui/qt/Operador_Qt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include <iostream>

#include "platform/Texto.h"
#include "ui/qt/frmAdvertencia.h"
#include "ui/qt/frmConfirmar_Operacion.h"

namespace facturador {

namespace {

constexpr const char* kTitulo_Ruta_BD = "Configurar ruta de la base de datos principal";
constexpr const char* kSin_Ventana_Ruta_BD =
    "El programa corre sin ventanas y no puede pedir la base de datos: revise local.dll en la "
    "carpeta del programa y el servidor central, y reinicie el programa.";
constexpr const char* kRespuesta_No = " (sin operador: se responde No)";

QString Texto(const std::string& texto) {
    return QString::fromStdString(texto);
}

}  // namespace

Operador_Qt::Operador_Qt(std::function<void()> configurar_ruta_bd, Pantalla pantalla,
                         Registro registro)
    : configurar_ruta_bd_(std::move(configurar_ruta_bd)),
      pantalla_(pantalla),
      registro_(std::move(registro)) {}

bool Operador_Qt::Sin_Ventanas() const {
    if (pantalla_ != Pantalla::Segun_Plataforma)
        return pantalla_ == Pantalla::Ausente;
    const QString plataforma = QGuiApplication::platformName();
    return plataforma == QLatin1String("offscreen") || plataforma == QLatin1String("minimal");
}

void Operador_Qt::Registrar(const std::string& titulo, const std::string& texto) {
    // Nobody tells when a message stops coming: one not seen for an hour is simply forgotten.
    repeticiones_.Olvidar_Antiguas();
    const std::string mensaje = titulo + ": " + texto;
    const auto linea = repeticiones_.Ocurre(mensaje, mensaje);
    if (!linea)
        return;
    if (!registro_ || registrando_) {
        std::cerr << Sin_Controles(*linea) << std::endl;
        return;
    }
    registrando_ = true;
    struct Fin {
        bool& registrando;
        ~Fin() { registrando = false; }
    } fin{registrando_};
    registro_(*linea);
}

void Operador_Qt::Mensaje_Estandar(const std::string& texto, const std::string& titulo) {
    if (Sin_Ventanas())
        return Registrar(titulo, texto);
    // No owner: the active window may be a dialog that has just closed and is about to be
    // deleted, and it would take the box with it. Without an owner exec() blocks the whole program.
    QMessageBox caja(QMessageBox::NoIcon, Texto(titulo), Texto(texto), QMessageBox::Ok);
    caja.setObjectName(QStringLiteral("Mensaje_Estandar"));
    caja.setTextFormat(Qt::PlainText);
    caja.setAttribute(Qt::WA_QuitOnClose, false);
    caja.exec();
}

void Operador_Qt::Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) {
    if (Sin_Ventanas())
        return Registrar(titulo, mensaje);
    facturador::Mostrar_Advertencia(Texto(titulo), Texto(mensaje));
}

bool Operador_Qt::Pedir_Confirmacion(const std::string& titulo, const std::string& mensaje) {
    if (!Sin_Ventanas())
        return facturador::Pedir_Confirmacion(Texto(titulo), Texto(mensaje));
    Confirmacion_Aceptada = false;
    Registrar(titulo, mensaje + kRespuesta_No);
    return false;
}

void Operador_Qt::Configurar_Ruta_BD() {
    if (Sin_Ventanas()) {
        ruta_bd_sin_respuesta_ = true;
        return Registrar(kTitulo_Ruta_BD, kSin_Ventana_Ruta_BD);
    }
    if (configurar_ruta_bd_)
        configurar_ruta_bd_();
}

std::string Operador_Qt::Elegir_Carpeta(const std::string& titulo) {
    if (Sin_Ventanas())
        return {};
    const QString carpeta =
        QFileDialog::getExistingDirectory(QApplication::activeWindow(), Texto(titulo));
    return QDir::toNativeSeparators(carpeta).toStdString();
}

void Operador_Qt::Abrir_Documento(const std::string& ruta) {
    if (!Sin_Ventanas())
        QDesktopServices::openUrl(QUrl::fromLocalFile(Texto(ruta)));
}

}  // namespace facturador

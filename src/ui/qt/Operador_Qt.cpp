#include "ui/qt/Operador_Qt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "ui/qt/frmAdvertencia.h"
#include "ui/qt/frmConfirmar_Operacion.h"

namespace facturador {

namespace {

QString Texto(const std::string& texto) {
    return QString::fromStdString(texto);
}

}  // namespace

Operador_Qt::Operador_Qt(std::function<void()> configurar_ruta_bd, Pantalla pantalla,
                         Registro registro)
    : configurar_ruta_bd_(std::move(configurar_ruta_bd)),
      pantalla_(pantalla),
      sin_pantalla_(std::move(registro)) {}

bool Operador_Qt::Sin_Pantalla() const {
    if (pantalla_ != Pantalla::Segun_Plataforma)
        return pantalla_ == Pantalla::Ausente;
    const QString plataforma = QGuiApplication::platformName();
    return plataforma == QLatin1String("offscreen") || plataforma == QLatin1String("minimal");
}

void Operador_Qt::Mensaje_Estandar(const std::string& texto, const std::string& titulo) {
    if (Sin_Pantalla())
        return sin_pantalla_.Mensaje_Estandar(texto, titulo);
    // No owner: the active window may be a dialog that has just closed and is about to be
    // deleted, and it would take the box with it. Without an owner exec() blocks the whole program.
    QMessageBox caja(QMessageBox::NoIcon, Texto(titulo), Texto(texto), QMessageBox::Ok);
    caja.setObjectName(QStringLiteral("Mensaje_Estandar"));
    caja.setTextFormat(Qt::PlainText);
    caja.setAttribute(Qt::WA_QuitOnClose, false);
    caja.exec();
}

void Operador_Qt::Mostrar_Advertencia(const std::string& titulo, const std::string& mensaje) {
    if (Sin_Pantalla())
        return sin_pantalla_.Mostrar_Advertencia(titulo, mensaje);
    facturador::Mostrar_Advertencia(Texto(titulo), Texto(mensaje));
}

bool Operador_Qt::Pedir_Confirmacion(const std::string& titulo, const std::string& mensaje) {
    if (!Sin_Pantalla())
        return facturador::Pedir_Confirmacion(Texto(titulo), Texto(mensaje));
    Confirmacion_Aceptada = false;
    return sin_pantalla_.Pedir_Confirmacion(titulo, mensaje);
}

void Operador_Qt::Configurar_Ruta_BD() {
    if (Sin_Pantalla())
        return sin_pantalla_.Configurar_Ruta_BD();
    if (configurar_ruta_bd_)
        configurar_ruta_bd_();
}

std::string Operador_Qt::Elegir_Carpeta(const std::string& titulo) {
    if (Sin_Pantalla())
        return {};
    const QString carpeta =
        QFileDialog::getExistingDirectory(QApplication::activeWindow(), Texto(titulo));
    return QDir::toNativeSeparators(carpeta).toStdString();
}

void Operador_Qt::Abrir_Documento(const std::string& ruta) {
    if (!Sin_Pantalla())
        QDesktopServices::openUrl(QUrl::fromLocalFile(Texto(ruta)));
}

void Operador_Qt::Avisos_Resueltos(const std::string& titulo) {
    sin_pantalla_.Avisos_Resueltos(titulo);
}

}  // namespace facturador

#pragma once

#include <QString>

#include <string>

class QLabel;
class QPushButton;
class QTableView;
class QWidget;

namespace facturador {

// The controls the console's requests windows share.

template <typename Control>
Control* Con_Nombre(Control* control, const char* nombre) {
    control->setObjectName(QString::fromLatin1(nombre));
    return control;
}

inline QString Texto(const std::string& texto) {
    return QString::fromStdString(texto);
}

// A button that Enter never presses: in these windows Enter searches from a box and opens a
// request from a table.
QPushButton* Boton_Consola(const char* texto, QWidget* padre, const char* nombre);

// A read-only table chosen by whole rows, without row numbers.
QTableView* Tabla_Consola(QWidget* padre, const char* nombre);

// The window's status line; a failure in red.
void Mostrar_Estado(QLabel* etiqueta, const QString& texto, bool falla);

}  // namespace facturador

#include "app/qt/Controles_Consola.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace facturador {

QPushButton* Boton_Consola(const char* texto, QWidget* padre, const char* nombre) {
    auto* boton = Con_Nombre(new QPushButton(QString::fromUtf8(texto), padre), nombre);
    boton->setAutoDefault(false);
    return boton;
}

QTableView* Tabla_Consola(QWidget* padre, const char* nombre) {
    auto* tabla = Con_Nombre(new QTableView(padre), nombre);
    tabla->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla->verticalHeader()->hide();
    tabla->horizontalHeader()->setStretchLastSection(true);
    return tabla;
}

void Mostrar_Estado(QLabel* etiqueta, const QString& texto, bool falla) {
    etiqueta->setText(texto);
    etiqueta->setStyleSheet(falla ? "color: #b00020;" : "");
}

}  // namespace facturador

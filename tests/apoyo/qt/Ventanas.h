#pragma once

#include <gtest/gtest.h>

#include <QPushButton>
#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <QTest>
#include <QWidget>

#include <string>

namespace facturador::pruebas {

// The control of a window by its object name; the test fails when the window has none.
template <typename Control = QWidget>
Control* Control_De(const QWidget& ventana, const char* nombre) {
    Control* control = ventana.findChild<Control*>(QString::fromLatin1(nombre));
    EXPECT_NE(control, nullptr) << nombre;
    return control;
}

// Shows the window as the active one and waits until it is on screen.
inline bool Mostrar_Ventana(QWidget& ventana) {
    ventana.show();
    ventana.activateWindow();
    return QTest::qWaitForWindowExposed(&ventana);
}

// Types `texto` and Enter into a box, and lets the key the box turns Enter into arrive.
inline void Teclear_Y_Enter(QWidget* caja, const char* texto = "") {
    caja->setFocus();
    QTest::keyClicks(caja, texto);
    QTest::keyClick(caja, Qt::Key_Return);
    QCoreApplication::processEvents();
}

// The rows of a table, each as its cells joined by "|".
inline QStringList Filas_Tabla(const QTableView& tabla) {
    QStringList filas;
    const QAbstractItemModel* m = tabla.model();
    for (int f = 0; f < m->rowCount(); ++f) {
        QStringList celdas;
        for (int col = 0; col < m->columnCount(); ++col)
            celdas.append(m->index(f, col).data().toString());
        filas.append(celdas.join('|'));
    }
    return filas;
}

// The captions of a window's buttons joined by "|", in the order of its children.
inline std::string Textos_Botones(const QWidget& ventana) {
    QStringList textos;
    for (const QPushButton* boton : ventana.findChildren<QPushButton*>())
        textos.append(boton->text());
    return textos.join('|').toStdString();
}

// The column headers of each of a window's tables, one line each: "tblX: A|B|C".
inline std::string Encabezados_Tablas(const QWidget& ventana) {
    QStringList lineas;
    for (const QTableView* tabla : ventana.findChildren<QTableView*>()) {
        QStringList encabezados;
        for (int col = 0; col < tabla->model()->columnCount(); ++col)
            encabezados.append(tabla->model()->headerData(col, Qt::Horizontal).toString());
        lineas.append(tabla->objectName() + ": " + encabezados.join('|'));
    }
    return lineas.join('\n').toStdString();
}

// A window `V` that reads the database on a thread of its own (busy meanwhile), set by the test
// in `ventana`, and the waits and clicks its tests go through.
template <typename V>
class Ventana_Con_Consultas {
  protected:
    // The window's database work answers within this long on the test server.
    static constexpr int kEspera_ms = 20000;

    void Esperar() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !ventana->Ocupada(); }, kEspera_ms));
    }
    template <typename Control = QWidget>
    Control* Ctl(const char* nombre) {
        return Control_De<Control>(*ventana, nombre);
    }
    void Clic(const char* boton) {
        QTest::mouseClick(Ctl(boton), Qt::LeftButton);
        Esperar();
    }
    QStringList Filas(const char* tabla) { return Filas_Tabla(*Ctl<QTableView>(tabla)); }

    QPointer<V> ventana;
};

}  // namespace facturador::pruebas

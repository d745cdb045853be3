#include "ui/qt/Ventana_Principal.h"

#include <QApplication>

namespace facturador {

QWidget* Ventana_Principal() {
    for (QWidget* ventana : QApplication::topLevelWidgets())
        if (ventana->objectName() == QLatin1String("frmAplicacion"))
            return ventana;
    return nullptr;
}

}  // namespace facturador

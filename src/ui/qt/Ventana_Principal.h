#pragma once

#include <QWidget>

namespace facturador {

// The program's main window ("frmAplicacion") when it already exists, shown or hidden; null
// during start-up, before it has been created.
QWidget* Ventana_Principal();

}  // namespace facturador

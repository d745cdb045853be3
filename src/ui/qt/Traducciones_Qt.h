#pragma once

class QCoreApplication;

namespace facturador {

// Installs Qt's own Spanish translations (qtbase), so that the standard dialogs and the command
// line's help speak the program's language: "Aceptar", not "OK". Answers false when the
// translations are not installed; Qt's texts then stay in English.
bool Cargar_Traducciones_Qt(QCoreApplication& aplicacion);

}  // namespace facturador

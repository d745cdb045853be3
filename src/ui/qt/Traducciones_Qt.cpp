#include "ui/qt/Traducciones_Qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace facturador {

bool Cargar_Traducciones_Qt(QCoreApplication& aplicacion) {
    // The program speaks Spanish whatever the machine's locale.
    auto* traductor = new QTranslator(&aplicacion);
    if (!traductor->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traductor;
        return false;
    }
    return QCoreApplication::installTranslator(traductor);
}

}  // namespace facturador

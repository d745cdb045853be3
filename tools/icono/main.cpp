// Draws the program's icon as PNG files for the desktop's icon theme (the Debian package installs
// them under /usr/share/icons/hicolor):
//
//   icono <folder> <side>...    writes <folder>/<side>x<side>/apps/facturador.png
//
// Needs no display: the drawing is made in memory.

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

#include "app/qt/Dibujos_Aplicacion.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "uso: %s CARPETA LADO...\n", argv[0]);
        return 2;
    }
    const QDir raiz(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int lado = QString::fromLocal8Bit(argv[i]).toInt();
        const QString carpeta = QStringLiteral("%1x%1/apps").arg(lado);
        if (lado <= 0 || !raiz.mkpath(carpeta) ||
            !facturador::Dibujo_Icono(lado).save(raiz.filePath(carpeta + "/facturador.png"))) {
            std::fprintf(stderr, "no se pudo dibujar el icono de %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}

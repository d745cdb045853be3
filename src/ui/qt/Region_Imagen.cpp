#include "ui/qt/Region_Imagen.h"

#include "ui/Region_Desde_Imagen.h"

namespace facturador {

QRegion Region_Desde_Imagen(const QImage& imagen) {
    const auto rectangulos = Region_Desde_Imagen(
        imagen.width(), imagen.height(), [&imagen](int x, int y) { return imagen.pixel(x, y); });
    QRegion region;
    for (const auto& r : rectangulos)
        region += QRect(r.x, r.y, r.ancho, r.alto);
    return region;
}

}  // namespace facturador

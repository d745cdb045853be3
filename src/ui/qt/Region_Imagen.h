#pragma once

#include <QImage>
#include <QRegion>

namespace facturador {

// The window region of a picture: the pixels that are not of the colour of its top-left pixel,
// in the picture's own pixels.
QRegion Region_Desde_Imagen(const QImage& imagen);

}  // namespace facturador

#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace facturador {

// Colours of the operator's dialogs.
inline const QColor Color_Marca{0x1F, 0x4E, 0x79};         // heading band and outline
inline const QColor Color_Marca_Oscuro{0x10, 0x2C, 0x46};  // shadow of the heading text
inline const QColor Color_Panel{0xF5, 0xF7, 0xFA};         // body of the dialogs
inline const QColor Color_Texto{0x1E, 0x2A, 0x38};         // message text
inline const QColor Color_Boton_Si{0x2E, 0x75, 0xB6};      // Aceptar and Sí
inline const QColor Color_Boton_No{0x6C, 0x7A, 0x89};      // No
// Pure magenta never appears in a picture, so it can mark what lies outside a shaped window.
inline const QColor Color_Clave{0xFF, 0x00, 0xFF};

// Height of the heading band at the top of both dialogs.
constexpr int Alto_Encabezado = 34;

// Background of the message dialog: a panel with a heading band, filling the whole rectangle.
QImage Dibujar_Fondo_Advertencia(QSize tamano);
// Background of the confirmation dialog: a rounded panel on the key colour, which gives the window
// its outline.
QImage Dibujar_Fondo_Confirmacion(QSize tamano);
// One face of a picture button; the pressed face is darker, sunken and its caption moves down.
QImage Dibujar_Boton(QSize tamano, const QString& leyenda, const QColor& base, bool presionado);

}  // namespace facturador

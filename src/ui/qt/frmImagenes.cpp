#include "ui/qt/frmImagenes.h"

#include "ui/qt/Pinturas_Dialogos.h"

namespace facturador {

namespace {

// 6300 x 3090 twips.
constexpr QSize Tamano_Fondo{420, 206};
constexpr QSize Tamano_Boton{84, 24};

}  // namespace

const frmImagenes& frmImagenes::Instancia() {
    static const frmImagenes imagenes;
    return imagenes;
}

frmImagenes::frmImagenes()
    : imgFondo_Confirmacion(Dibujar_Fondo_Confirmacion(Tamano_Fondo)),
      imgSI_UP(Dibujar_Boton(Tamano_Boton, QStringLiteral("Sí"), Color_Boton_Si, false)),
      imgSI_Dn(Dibujar_Boton(Tamano_Boton, QStringLiteral("Sí"), Color_Boton_Si, true)),
      imgNo_UP(Dibujar_Boton(Tamano_Boton, QStringLiteral("No"), Color_Boton_No, false)),
      imgNo_DN(Dibujar_Boton(Tamano_Boton, QStringLiteral("No"), Color_Boton_No, true)) {}

}  // namespace facturador

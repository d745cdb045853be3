#pragma once

#include <QImage>

namespace facturador {

// The pictures of the confirmation dialog, drawn on first use and kept for the life of the
// program.
class frmImagenes {
  public:
    static const frmImagenes& Instancia();

    QImage imgFondo_Confirmacion;
    QImage imgSI_UP;
    QImage imgSI_Dn;
    QImage imgNo_UP;
    QImage imgNo_DN;

  private:
    frmImagenes();
};

}  // namespace facturador

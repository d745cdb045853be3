#include "generation/Unidad_Trabajo.h"

#include "platform/Archivos.h"

namespace facturador {

Unidad_Trabajo::Unidad_Trabajo(Conexion& conexion) : conexion_(conexion) {
    conexion_.Iniciar_Transaccion();
}

Unidad_Trabajo::~Unidad_Trabajo() {
    Deshacer();
}

void Unidad_Trabajo::Confirmar() {
    conexion_.Confirmar_Transaccion();
    cerrada_ = true;
}

void Unidad_Trabajo::Deshacer() noexcept {
    if (cerrada_)
        return;
    cerrada_ = true;
    try {
        conexion_.Deshacer_Transaccion();
    } catch (...) {
    }
    if (!ruta_cola_.empty())
        Borrar_Archivo_Ignorando_Errores(ruta_cola_);
}

}  // namespace facturador

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
    cerrada_ = true;
    conexion_.Confirmar_Transaccion();
    confirmada_ = true;
}

void Unidad_Trabajo::Deshacer() noexcept {
    if (cerrada_)
        return;
    cerrada_ = true;
    try {
        conexion_.Deshacer_Transaccion();
    } catch (...) {
    }
    if (!ruta_temporal_.empty())
        Borrar_Archivo_Ignorando_Errores(ruta_temporal_);
}

}  // namespace facturador

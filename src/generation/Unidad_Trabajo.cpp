#include "generation/Unidad_Trabajo.h"

#include "data/Turno_Central.h"
#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

Unidad_Trabajo::Unidad_Trabajo(Conexion& conexion) : conexion_(conexion) {
    conexion_.Iniciar_Transaccion();
}

Unidad_Trabajo::~Unidad_Trabajo() {
    Deshacer();
}

void Unidad_Trabajo::Confirmar() {
    Turno_Programa().Comprobar_Turno(conexion_);
    cerrada_ = true;
    try {
        conexion_.Confirmar_Transaccion();
    } catch (const Error_Plataforma& e) {
        // Refused by a conflict, the transaction is known to be rolled back.
        if (Es_Conflicto(e.Numero) && !ruta_temporal_.empty())
            Borrar_Archivo_Ignorando_Errores(ruta_temporal_);
        throw;
    }
    confirmada_ = true;
    Turno_Programa().Unidad_Confirmada();
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

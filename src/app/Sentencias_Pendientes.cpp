#include "app/Sentencias_Pendientes.h"

#include <exception>

#include "app/Estado_Aplicacion.h"
#include "data/Conexiones.h"

namespace facturador {

namespace {

void Deshacer_Ignorando_Errores(Conexion& conexion) noexcept {
    if (!conexion.Abierta())
        return;
    try {
        conexion.Deshacer_Transaccion();
    } catch (const std::exception&) {
        // The connection is lost; the server drops the transaction with it.
    }
}

}  // namespace

void Reiniciar_Sentencias_Pendientes() {
    Estado_App().sentencias_pendientes.clear();
}

void Agregar_Sentencia_Pendiente(const std::string& sentencia) {
    Estado_App().sentencias_pendientes.push_back(sentencia);
}

const std::vector<std::string>& Sentencias_Pendientes() {
    return Estado_App().sentencias_pendientes;
}

void Ejecutar_Sentencias_Pendientes() {
    static const std::string ninguna;
    const std::string* actual = &ninguna;
    Conexion conexion;
    try {
        Abrir_Conexion_Central(conexion);
        if (!conexion.Abierta())
            return;
        conexion.Iniciar_Transaccion();
        for (const std::string& sentencia : Sentencias_Pendientes()) {
            actual = &sentencia;
            if (!sentencia.empty())
                conexion.Ejecutar(sentencia);
        }
        conexion.Confirmar_Transaccion();
        Cerrar_Conexion(conexion);
    } catch (const std::exception& e) {
        // Rolled back and closed before the log is written: writing it may wait on a message box,
        // and the batch's row locks must not be held meanwhile.
        const std::string sentencia_fallida = *actual;
        Deshacer_Ignorando_Errores(conexion);
        Cerrar_Conexion(conexion);
        Estado_App().fallas.Registrar(e.what(), sentencia_fallida);
    }
}

}  // namespace facturador

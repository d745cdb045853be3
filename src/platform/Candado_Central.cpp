#include "platform/Candado_Central.h"

#include <exception>

#include "platform/Credenciales_Central.h"
#include "platform/Motor_MariaDB.h"

namespace facturador {

Candado_Central::Candado_Central(std::string nombre) : nombre_(std::move(nombre)) {}

Candado_Central::~Candado_Central() {
    Soltar();
}

Candado_Central::Estado Candado_Central::Asegurar(const std::string& cadena_conexion) noexcept {
    if (motor_ && motor_->Responde())
        return Estado::Tenido;
    motor_.reset();
    try {
        auto motor = std::make_unique<Motor_MariaDB>(Parametros_de_Conexion(cadena_conexion));
        // 0: answer at once; "1" taken, "0" held by another connection.
        const Recordset rs =
            motor->Ejecutar("SELECT GET_LOCK('" + motor->Escapar(nombre_) + "', 0)");
        if (rs.Texto(size_t{0}) != "1")
            return Estado::Ocupado;
        motor_ = std::move(motor);
        falla_.clear();
        return Estado::Tenido;
    } catch (const std::exception& e) {
        falla_ = e.what();
        return Estado::Sin_Servidor;
    }
}

void Candado_Central::Soltar() noexcept {
    if (!motor_)
        return;
    // Released at once, not when the server gets round to ending the session after it is closed.
    try {
        motor_->Ejecutar("SELECT RELEASE_LOCK('" + motor_->Escapar(nombre_) + "')");
    } catch (const std::exception&) {
        // The session is gone, and the lock with it.
    }
    motor_.reset();
}

}  // namespace facturador

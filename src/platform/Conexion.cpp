#include "platform/Conexion.h"

#include "platform/Cadena_Conexion.h"
#include "platform/Credenciales_Central.h"
#include "platform/Error_Plataforma.h"
#include "platform/Motor_MariaDB.h"
#include "platform/Motor_SQLite.h"
#include "platform/Pool_Central.h"

namespace facturador {

namespace {

// The number and text of the old data-access layer for work asked of a closed connection.
constexpr long kError_Conexion_Cerrada = 3709;

}  // namespace

Conexion::Conexion() = default;
Conexion::~Conexion() {
    Cerrar();
}
Conexion::Conexion(Conexion&&) noexcept = default;

Conexion& Conexion::operator=(Conexion&& otra) noexcept {
    if (this != &otra) {
        Cerrar();
        motor_ = std::move(otra.motor_);
        central_ = otra.central_;
        propia_ = otra.propia_;
    }
    return *this;
}

void Conexion::Abrir(const std::string& cadena_conexion) {
    Cerrar();
    if (Es_Cadena_Local(cadena_conexion)) {
        motor_ = std::make_unique<Motor_SQLite>(Leer_Origen_Local(cadena_conexion));
        central_ = false;
    } else {
        motor_ = Tomar_Conexion_Central(Parametros_de_Conexion(cadena_conexion));
        central_ = true;
    }
    propia_ = false;
}

void Conexion::Abrir_Propia(const std::string& cadena_central) {
    Cerrar();
    motor_ = std::make_unique<Motor_MariaDB>(Parametros_de_Conexion(cadena_central));
    central_ = true;
    propia_ = true;
}

bool Conexion::Abierta() const {
    return motor_ != nullptr;
}

Motor_Conexion& Conexion::Motor() const {
    if (!motor_)
        throw Error_Plataforma(kError_Conexion_Cerrada,
                               "The connection cannot be used to perform this operation. It is "
                               "either closed or invalid in this context.");
    return *motor_;
}

Recordset Conexion::Ejecutar(const std::string& sql) {
    return Motor().Ejecutar(sql);
}

void Conexion::Ejecutar_Con_Parametros(const std::string& sql,
                                       const std::vector<std::string_view>& parametros) {
    Motor().Ejecutar_Con_Parametros(sql, parametros);
}

void Conexion::Iniciar_Transaccion() {
    Motor().Iniciar_Transaccion();
}
void Conexion::Confirmar_Transaccion() {
    Motor().Confirmar_Transaccion();
}
void Conexion::Deshacer_Transaccion() {
    Motor().Deshacer_Transaccion();
}

long long Conexion::Filas_Afectadas() const {
    return Motor().Filas_Afectadas();
}

std::string Conexion::Escapar(std::string_view valor) const {
    return Motor().Escapar(valor);
}

void Conexion::Cerrar() noexcept {
    if (!motor_)
        return;
    if (central_ && !propia_) {
        // Only the pool makes central engines, and they are all MariaDB ones.
        Devolver_Conexion_Central(
            std::unique_ptr<Motor_MariaDB>(static_cast<Motor_MariaDB*>(motor_.release())));
    } else {
        motor_->Cerrar();
        motor_.reset();
    }
}

std::string Escapar_Central(std::string_view valor) {
    return Escapar_MariaDB(valor);
}

}  // namespace facturador

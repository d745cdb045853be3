#include "app/Estado_Aplicacion.h"

#include <exception>

namespace facturador {

Estado_Aplicacion& Estado_App() {
    static Estado_Aplicacion estado;
    return estado;
}

void Reiniciar_Estado_Aplicacion() {
    Estado_App() = Estado_Aplicacion{};
}

bool Ejecutar_Registrando_Falla(const std::string& paso, const std::function<void()>& accion) {
    try {
        accion();
        return true;
    } catch (const std::exception& e) {
        Estado_App().fallas.Registrar(e.what(), paso);
        return false;
    }
}

}  // namespace facturador

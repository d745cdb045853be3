#include "app/Estado_Aplicacion.h"

#include "data/Sentencias_Pendientes.h"

namespace facturador {

Estado_Aplicacion& Estado_App() {
    static Estado_Aplicacion estado;
    return estado;
}

void Reiniciar_Estado_Aplicacion() {
    Estado_App() = Estado_Aplicacion{};
    Reiniciar_Sentencias_Pendientes();
    Fallas_Programa() = Registro_Fallas{};
}

}  // namespace facturador

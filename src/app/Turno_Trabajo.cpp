#include "app/Turno_Trabajo.h"

#include "app/Estado_Aplicacion.h"
#include "data/Conexiones.h"
#include "data/Log.h"

namespace facturador {

namespace {

constexpr const char* kPaso_Turno = "Tomar el turno de trabajo con la base de datos central";

}  // namespace

bool Tiene_Turno_de_Trabajo() {
    Turno_Trabajo& turno = Estado_App().turno;
    const auto estado = turno.candado->Asegurar(Cadena_Central_de_Operacion());
    if (estado == Candado_Central::Estado::Sin_Servidor) {
        Fallas_Programa().Registrar(turno.candado->Falla(), kPaso_Turno);
        return false;
    }
    const bool tenido = estado == Candado_Central::Estado::Tenido;
    if (!tenido && !turno.otra_copia_avisada) {
        Escribir_Log(kLinea_Otra_Copia_Trabaja);
        turno.otra_copia_avisada = true;
    } else if (tenido && turno.otra_copia_avisada) {
        Escribir_Log(kLinea_Turno_Tomado);
        turno.otra_copia_avisada = false;
    }
    return tenido;
}

}  // namespace facturador

#include "app/Turno_Trabajo.h"

#include <exception>
#include <utility>

#include "app/Estado_Aplicacion.h"
#include "data/Log.h"
#include "intake/Recepcion.h"
#include "platform/Entorno.h"

namespace facturador {

namespace {

constexpr const char* kPaso_Turno = "Tomar el turno de trabajo con la base de datos central";

void Avisar_Sin_Permiso(Estado_Turno estado, const std::string& falla) {
    bool& avisado = Estado_App().turno_sin_permiso_avisado;
    if (estado != Estado_Turno::Sin_Permiso) {
        // Told that it is over, the operator's hourly limit lets the warning through at once
        // when the lease is out of reach again, and a program without a display says so.
        if (std::exchange(avisado, false))
            Operador_Actual().Avisos_Resueltos(kTitulo_Turno_Sin_Permiso);
        return;
    }
    if (avisado)
        return;
    avisado = true;
    const std::string linea = kLinea_Turno_Sin_Permiso + falla;
    Escribir_Log(linea);
    Operador_Actual().Mostrar_Advertencia(kTitulo_Turno_Sin_Permiso, linea);
}

}  // namespace

Estado_Turno Asegurar_Turno_de_Trabajo() {
    return Asegurar_Turno_de_Trabajo([](Turno_Central& turno) { return turno.Asegurar(); });
}

Estado_Turno Asegurar_Turno_de_Trabajo(const Asegurar_Turno& asegurar) {
    Turno_Central& turno = Turno_Programa();
    bool& avisada = Estado_App().otra_copia_avisada;
    const bool tenia = turno.Tenido();
    Estado_Turno estado;
    try {
        estado = asegurar(turno);
    } catch (const std::exception& e) {
        Fallas_Programa().Registrar(e.what(), kPaso_Turno);
        return Estado_Turno::Sin_Servidor;
    }
    if (estado == Turno_Central::Estado::Sin_Servidor) {
        Fallas_Programa().Registrar(turno.Falla(), kPaso_Turno);
        return estado;
    }
    Fallas_Programa().Resolver(kPaso_Turno);
    Avisar_Sin_Permiso(estado, turno.Falla());
    if (estado == Turno_Central::Estado::Sin_Permiso)
        return estado;
    const bool tenido = estado == Turno_Central::Estado::Tenido;
    if (!tenido && !avisada) {
        Escribir_Log(std::string(kLinea_Otra_Copia_Trabaja) +
                     (turno.Titular_Ajeno().empty() ? "" : " Turno de: " + turno.Titular_Ajeno()));
        avisada = true;
    } else if (tenido && avisada) {
        Escribir_Log(kLinea_Turno_Tomado);
        avisada = false;
    }
    if (tenido && !tenia)
        Iniciar_Revision_Rechazadas();
    return estado;
}

bool Tiene_Turno_de_Trabajo() {
    return Turno_Programa().Tenido();
}

void Soltar_Turno_de_Trabajo() noexcept {
    Turno_Programa().Soltar();
}

}  // namespace facturador

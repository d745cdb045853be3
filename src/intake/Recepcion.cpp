#include "intake/Recepcion.h"

#include "data/Registro_Fallas.h"
#include "intake/Escaneo_Resultados.h"
#include "intake/Observaciones_Recepcion.h"

namespace facturador {

namespace {

constexpr const char* kEn_Espera = "(Status = 2)";
// Rejected requests of before December 2024 are never looked at again.
constexpr const char* kRechazadas = "(Status = 4) AND (Fecha >= '2024/12/01')";
constexpr const char* kPaso_Rechazadas = "Almacenar comprobantes con errores de timbrado";

}  // namespace

void Almacenar_Comprobantes_Pendientes() {
    Escanear_Resultados(kEn_Espera, 2);
}

void Iniciar_Revision_Rechazadas() {
    auto& seguimiento = Seguimiento_Recepcion_Actual();
    seguimiento.Rechazadas_Por_Revisar = true;
    seguimiento.Reanudar_Desde.erase(4);
}

void Almacenar_Comprobantes_con_Errores_de_Timbrados() {
    auto& seguimiento = Seguimiento_Recepcion_Actual();
    if (!seguimiento.Rechazadas_Por_Revisar)
        return;
    Ejecutar_Registrando_Falla(kPaso_Rechazadas, [&] {
        if (Escanear_Resultados(kRechazadas, 4))
            seguimiento.Rechazadas_Por_Revisar = false;
    });
}

}  // namespace facturador

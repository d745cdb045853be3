#include "intake/Recepcion.h"

#include "data/Registro_Fallas.h"
#include "intake/Escaneo_Resultados.h"

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

void Almacenar_Comprobantes_con_Errores_de_Timbrados() {
    Ejecutar_Registrando_Falla(kPaso_Rechazadas, [] { Escanear_Resultados(kRechazadas, 4); });
}

}  // namespace facturador

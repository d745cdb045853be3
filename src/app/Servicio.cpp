#include "app/Servicio.h"

#include <chrono>
#include <iostream>

#include "app/Arranque.h"
#include "app/Aviso_Servicio.h"
#include "app/Turno_Trabajo.h"
#include "data/Log.h"
#include "platform/Entorno.h"
#include "platform/Instancia_Unica.h"
#include "platform/Senal_Terminacion.h"

namespace facturador {

namespace {

constexpr std::chrono::milliseconds kPausa_Entre_Ciclos{1000};

}  // namespace

std::optional<int> Falla_Instancia(const Instancia_Unica& instancia) {
    if (instancia.Resultado() == Instancia_Unica::Estado::Otra_Copia) {
        std::cerr << "facturador: otra copia del programa ya corre con la carpeta "
                  << Carpeta_Programa() << "; esta copia termina." << std::endl;
        return 1;
    }
    if (!instancia.Es_Unica()) {
        std::cerr << instancia.Falla() << std::endl;
        Escribir_Log(instancia.Falla());
        return 1;
    }
    return std::nullopt;
}

int Correr_Sin_Ventanas() {
    Senal_Terminacion senal;
    const Instancia_Unica instancia(Archivo_Candado_de_Carpeta(Carpeta_Programa()));
    if (const auto falla = Falla_Instancia(instancia))
        return *falla;
    Vista_Sin_Ventanas vista;
    Ciclo_Sincronizacion ciclo(vista);
    if (Cargar_Datos_Iniciales() == Resultado_Arranque::Terminar_Programa) {
        Soltar_Turno_de_Trabajo();
        return 1;
    }
    Revisar_Rechazadas_Al_Arrancar();
    Avisar_Servicio_Listo();
    // A termination asked for during start-up ends the program before its first cycle.
    while (!senal.Esperar(kPausa_Entre_Ciclos))
        ciclo.tmrTimer_Timer();
    Avisar_Servicio_Terminando();
    Soltar_Turno_de_Trabajo();
    return 0;
}

}  // namespace facturador

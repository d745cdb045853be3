#include "intake/Vigilancia_Cola.h"

#include "data/Log.h"
#include "intake/Observaciones_Recepcion.h"
#include "platform/Archivos.h"

namespace facturador {

namespace {

constexpr long long kSegundos_Atascada = 15 * 60;
constexpr long long kSegundos_Entre_Revisiones = 60;

bool Hay_Archivo(const Solicitud_Timbrado& s, const std::string& cola,
                 const Rutas_Resultado& rutas) {
    const std::string nombre = s.Archivo + ".txt";
    return Examinar_Entrada(Unir_Ruta(cola, nombre)) || Examinar_Entrada(rutas.PDF) ||
           Hay_Temporal_en_Cola(cola, nombre, s.ID);
}

// Time to look at the folders again: the minute has passed, the request is due to be called
// stuck, or the clock was set back. Comparisons only: this runs for every waiting request.
bool Revision_Debida(const Seguimiento_Recepcion::Vigilancia& v, const Fecha_Hora& ahora,
                     bool ya_atascada) {
    return ahora >= v.Proxima_Revision || ahora < v.Revisada ||
           (v.Sin_Archivo_Desde && !ya_atascada && ahora >= v.Atascada_Desde);
}

void Declarar_Atascada(const Solicitud_Timbrado& s, const Fecha_Hora& desde) {
    Observacion_Solicitud o = Observacion_de(
        s, 2, "sin archivo para timbrar ni resultado desde " + Formato_Fecha_Hora(desde));
    o.Desde = desde;
    if (Anotar_Observacion(Observaciones_Recepcion_Actuales().Atascadas, o))
        Escribir_Log(Inicio_Linea_Solicitud(o) + "Solicitud detenida en status 2: " + o.Detalle +
                     "; no se volverá a encolar sola.");
}

}  // namespace

void Vigilar_Sin_Resultado(const Solicitud_Timbrado& s, const std::string& cola,
                           const Rutas_Resultado& rutas, const Fecha_Hora& ahora) {
    auto [entrada, nueva] = Seguimiento_Recepcion_Actual().Sin_Resultado.try_emplace(s.ID);
    auto& v = entrada->second;
    const bool ya_atascada = Observaciones_Recepcion_Actuales().Atascadas.contains(s.ID);
    if (!nueva && !Revision_Debida(v, ahora, ya_atascada))
        return;
    // Spread over the minute, so that thousands of requests seen at once are not all looked at
    // again in the same scan.
    v.Revisada = ahora;
    v.Proxima_Revision = Sumar_Segundos(
        ahora, nueva ? s.ID % kSegundos_Entre_Revisiones : kSegundos_Entre_Revisiones);
    if (Hay_Archivo(s, cola, rutas)) {
        v.Sin_Archivo_Desde.reset();
        Observaciones_Recepcion_Actuales().Atascadas.erase(s.ID);
        return;
    }
    if (!v.Sin_Archivo_Desde || *v.Sin_Archivo_Desde > ahora) {
        v.Sin_Archivo_Desde = ahora;
        v.Atascada_Desde = Sumar_Segundos(ahora, kSegundos_Atascada);
    }
    if (ahora >= v.Atascada_Desde)
        Declarar_Atascada(s, *v.Sin_Archivo_Desde);
}

void Terminar_Vigilancia(int32_t id_solicitud) {
    Seguimiento_Recepcion_Actual().Sin_Resultado.erase(id_solicitud);
    Observaciones_Recepcion_Actuales().Atascadas.erase(id_solicitud);
}

}  // namespace facturador

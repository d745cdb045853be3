#include "intake/Observaciones_Recepcion.h"

#include <algorithm>

#include "platform/Entorno.h"
#include "platform/Texto.h"

namespace facturador {

namespace {

bool Presente(const std::vector<int32_t>& presentes, int32_t id) {
    return std::binary_search(presentes.begin(), presentes.end(), id);
}

void Olvidar_En(std::map<int32_t, Observacion_Solicitud>& lista,
                const std::vector<int32_t>& presentes, int32_t status) {
    std::erase_if(lista, [&](const auto& entrada) {
        return entrada.second.Status == status && !Presente(presentes, entrada.first);
    });
}

}  // namespace

Observaciones_Recepcion& Observaciones_Recepcion_Actuales() {
    static Observaciones_Recepcion observaciones;
    return observaciones;
}

Seguimiento_Recepcion& Seguimiento_Recepcion_Actual() {
    static Seguimiento_Recepcion seguimiento;
    return seguimiento;
}

void Reiniciar_Observaciones_Recepcion() {
    Observaciones_Recepcion_Actuales() = Observaciones_Recepcion{};
    Seguimiento_Recepcion_Actual() = Seguimiento_Recepcion{};
}

Observacion_Solicitud Observacion_de(const Solicitud_Timbrado& s, int32_t status,
                                     const std::string& detalle) {
    return {s.ID, s.ID_Sucursal, s.Nro_Ticket, s.Serie, s.Folio, detalle, Ahora(), status};
}

std::string Una_Linea(std::string_view texto, size_t maximo) {
    std::string linea = Sin_Controles(texto);
    if (linea.size() <= maximo)
        return linea;
    size_t corte = maximo;
    while (corte > 0 && (static_cast<unsigned char>(linea[corte]) & 0xC0) == 0x80)
        --corte;
    return linea.substr(0, corte) + "...";
}

std::string Inicio_Linea_Solicitud(const Observacion_Solicitud& o) {
    return "Solicitud ID: " + std::to_string(o.ID) + " - Ticket Nro. " +
           std::to_string(o.Nro_Ticket) + " - Factura " + o.Serie + "-" + std::to_string(o.Folio) +
           " - ";
}

bool Anotar_Observacion(std::map<int32_t, Observacion_Solicitud>& lista,
                        Observacion_Solicitud observacion) {
    const auto [entrada, nueva] = lista.try_emplace(observacion.ID, observacion);
    if (nueva)
        return true;
    observacion.Desde = entrada->second.Desde;
    const bool cambio = entrada->second.Detalle != observacion.Detalle;
    entrada->second = std::move(observacion);
    return cambio;
}

void Quitar_Observaciones_Resultado(int32_t id) {
    auto& observaciones = Observaciones_Recepcion_Actuales();
    observaciones.Discrepancias.erase(id);
    observaciones.No_Almacenables.erase(id);
    Seguimiento_Recepcion_Actual().Apartadas.erase(id);
}

void Olvidar_Solicitudes_Ausentes(const std::vector<int32_t>& presentes, int32_t status) {
    auto& o = Observaciones_Recepcion_Actuales();
    Olvidar_En(o.Discrepancias, presentes, status);
    Olvidar_En(o.No_Almacenables, presentes, status);
    if (status != 2)
        return;
    Olvidar_En(o.Atascadas, presentes, status);
    auto& s = Seguimiento_Recepcion_Actual();
    const auto ausente = [&](const auto& entrada) { return !Presente(presentes, entrada.first); };
    std::erase_if(s.Sin_Resultado, ausente);
    std::erase_if(s.Apartadas, ausente);
    std::erase_if(s.Avisos_Escritos,
                  [&](const auto& aviso) { return !Presente(presentes, aviso.first); });
}

}  // namespace facturador

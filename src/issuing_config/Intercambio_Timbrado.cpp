#include "issuing_config/Intercambio_Timbrado.h"

#include <charconv>

#include "platform/Archivos.h"

namespace facturador {

namespace {

constexpr std::string_view kFin_Temporal = ".pendiente";

}  // namespace

std::string Archivo_Base(const std::string& serie, int32_t folio) {
    return "Factura " + serie + " Folio " + std::to_string(folio);
}

std::string Nombre_Archivo_para_Timbrar(const std::string& serie, int32_t folio) {
    return Archivo_Base(serie, folio) + ".txt";
}

std::string Nombre_Temporal_en_Cola(const std::string& nombre_archivo, int32_t id_solicitud) {
    return "." + nombre_archivo + "." + std::to_string(id_solicitud) + std::string(kFin_Temporal);
}

std::optional<Temporal_en_Cola> Leer_Nombre_Temporal(std::string_view nombre) {
    if (!nombre.starts_with('.') || !nombre.ends_with(kFin_Temporal))
        return std::nullopt;
    nombre.remove_prefix(1);
    nombre.remove_suffix(kFin_Temporal.size());
    const size_t punto = nombre.rfind('.');
    if (punto == std::string_view::npos || punto == 0)
        return std::nullopt;
    const std::string_view id = nombre.substr(punto + 1);
    Temporal_en_Cola temporal;
    const auto [fin, error] =
        std::from_chars(id.data(), id.data() + id.size(), temporal.ID_Solicitud);
    if (error != std::errc() || fin != id.data() + id.size() || id.empty())
        return std::nullopt;
    temporal.Nombre_Archivo = std::string(nombre.substr(0, punto));
    return temporal;
}

Rutas_Resultado Rutas_de_Resultado(const std::string& archivo, const Carpetas_Resultado& carpetas) {
    return {Unir_Ruta(carpetas.Validas, archivo + ".xml"),
            Unir_Ruta(carpetas.Validas, archivo + ".pdf"),
            Unir_Ruta(carpetas.No_Validas, archivo + "-error timbrado.txt")};
}

}  // namespace facturador

#include "issuing_config/Intercambio_Timbrado.h"

#include <charconv>

#include "platform/Archivos.h"
#include "platform/Error_Plataforma.h"

namespace facturador {

namespace {

constexpr std::string_view kFin_Temporal = ".pendiente";
constexpr std::string_view kEpoca = "turno";

// The number that the whole text is; nothing for anything else.
template <typename Entero>
std::optional<Entero> Numero_Entero(std::string_view texto) {
    Entero numero = 0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), numero);
    if (texto.empty() || error != std::errc() || fin != texto.data() + texto.size())
        return std::nullopt;
    return numero;
}

// Takes the last ".part" off `nombre` and answers it.
std::optional<std::string_view> Quitar_Ultima_Parte(std::string_view& nombre) {
    const size_t punto = nombre.rfind('.');
    if (punto == std::string_view::npos || punto == 0)
        return std::nullopt;
    const std::string_view parte = nombre.substr(punto + 1);
    nombre = nombre.substr(0, punto);
    return parte;
}

}  // namespace

std::string Archivo_Base(const std::string& serie, int32_t folio) {
    return "Factura " + serie + " Folio " + std::to_string(folio);
}

std::string Nombre_Archivo_para_Timbrar(const std::string& serie, int32_t folio) {
    return Archivo_Base(serie, folio) + ".txt";
}

std::string Nombre_Temporal_en_Cola(const std::string& nombre_archivo, int32_t id_solicitud,
                                    int64_t epoca) {
    return "." + nombre_archivo + "." + std::to_string(id_solicitud) + "." + std::string(kEpoca) +
           std::to_string(epoca) + std::string(kFin_Temporal);
}

std::optional<Temporal_en_Cola> Leer_Nombre_Temporal(std::string_view nombre) {
    if (!nombre.starts_with('.') || !nombre.ends_with(kFin_Temporal))
        return std::nullopt;
    nombre.remove_prefix(1);
    nombre.remove_suffix(kFin_Temporal.size());
    Temporal_en_Cola temporal;
    auto parte = Quitar_Ultima_Parte(nombre);
    if (parte && parte->starts_with(kEpoca)) {
        const auto epoca = Numero_Entero<int64_t>(parte->substr(kEpoca.size()));
        if (!epoca)
            return std::nullopt;
        temporal.Epoca = *epoca;
        parte = Quitar_Ultima_Parte(nombre);
    }
    const auto id = parte ? Numero_Entero<int32_t>(*parte) : std::nullopt;
    if (!id || nombre.empty())
        return std::nullopt;
    temporal.ID_Solicitud = *id;
    temporal.Nombre_Archivo = std::string(nombre);
    return temporal;
}

bool Hay_Temporal_en_Cola(const std::string& carpeta, const std::string& nombre_archivo,
                          int32_t id_solicitud) {
    if (carpeta.empty())
        return false;
    try {
        for (const std::string& nombre : Archivos_en_Carpeta(carpeta))
            if (const auto temporal = Leer_Nombre_Temporal(nombre))
                if (temporal->ID_Solicitud == id_solicitud &&
                    temporal->Nombre_Archivo == nombre_archivo)
                    return true;
    } catch (const Error_Plataforma&) {
        // A folder that cannot be read holds nothing that can be found.
    }
    return false;
}

Rutas_Resultado Rutas_de_Resultado(const std::string& archivo, const Carpetas_Resultado& carpetas) {
    return {Unir_Ruta(carpetas.Validas, archivo + ".xml"),
            Unir_Ruta(carpetas.Validas, archivo + ".pdf"),
            Unir_Ruta(carpetas.No_Validas, archivo + "-error timbrado.txt")};
}

}  // namespace facturador
